// The output named where an included file belongs
#msg before the include
#include "names.inc"
#include "../app.cat"
en: About APP
#msg not reached
