int c() {
    return 0;
}
// the last line has no line feed