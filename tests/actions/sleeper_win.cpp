// Test program: waits a minute, so that a test can end it by its name before then.
#include <windows.h>

int main() {
    ::Sleep(60000);
    return 3;
}
