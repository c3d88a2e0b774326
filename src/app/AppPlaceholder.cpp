namespace zmp { int AppPlaceholder() { return 0; } }
