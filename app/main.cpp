#include "command_line_composer.h"

#include <iostream>

int main() {
    std::cout << initialCommandLine().text << '\n';
    return 0;
}
