namespace zmp { int EditorsPlaceholder() { return 0; } }
