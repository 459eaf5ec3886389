#define Q(a,b) [a|b]
Q("x,y) Q(1,2)
Q(1,"2) Q(1,2)
Q(1,2)
