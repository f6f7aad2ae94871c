#include "store/gob.h"
