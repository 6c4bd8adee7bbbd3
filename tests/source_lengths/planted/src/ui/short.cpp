// Three lines, the last

// without its line feed