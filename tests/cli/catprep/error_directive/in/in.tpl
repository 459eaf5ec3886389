kept
#error stop here
lost
