a
#endif
b
#foo
#include <x.h>
#else
c
