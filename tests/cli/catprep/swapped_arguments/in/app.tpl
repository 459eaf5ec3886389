// Messages of the demo application
#include "names.inc"
en: About APP
