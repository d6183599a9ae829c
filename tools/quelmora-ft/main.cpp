// Placeholder until the batch tool lands.
int main() { return 0; }
