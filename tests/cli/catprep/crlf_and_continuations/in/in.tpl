a\
b

c\\
stray\