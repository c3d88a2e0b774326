namespace zmp { int CommPlaceholder() { return 0; } }
