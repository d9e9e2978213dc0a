// PLACEHOLDER until the end-to-end harness lands.
int main() { return 0; }
