// tessarc-sim: placeholder until the program lands.
int main() { return 0; }
