int talvessaPlaceholder() { return 0; }
