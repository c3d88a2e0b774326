namespace zmp { int EditorsUiPlaceholder() { return 0; } }
