#include "inc/names.h"
#define GREETING Hello NAME
