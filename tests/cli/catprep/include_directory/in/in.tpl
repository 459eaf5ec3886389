#include "sub"
#include "sub\none.h"
ok
