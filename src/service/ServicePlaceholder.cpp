namespace zmp { int ServicePlaceholder() { return 0; } }
