a line
#msg read to the end
