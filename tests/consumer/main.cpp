// Builds against the installed headers and library only.
#include <Dorvanel/component/Manager.h>
#include <Dorvanel/platform/ComponentFile.h>

#include <iostream>

int main() {
    std::cout << "Dorvanel component file major version " << dorvanel::ComponentFile::Major() << '\n';
    return 0;
}
