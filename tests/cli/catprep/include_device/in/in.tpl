before
#include "/dev/zero"
after
