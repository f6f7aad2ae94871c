#include "store/StoreWriter.h"
