#include <cstdio>

int main() {
    std::fputs("usage: lumiset catalogue\n", stderr);
    return 2;
}
