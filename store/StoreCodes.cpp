#include "store/StoreCodes.h"
