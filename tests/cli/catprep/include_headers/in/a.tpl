a1
#include "b.inc"
#include "b.inc"
#bad in a
