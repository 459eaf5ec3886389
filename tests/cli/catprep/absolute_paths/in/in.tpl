#msg absolute names are files
ok
