// Texts from the program's own string table. The module is the program
// itself, whatever its file is called, so a renamed copy still finds them.
#include "Texts.h"

#include <windows.h>

#include <cstring>

namespace kelpo {

const char *LoadText(unsigned id)
{
    static char buffer[TextBufferSize];
    std::memset(buffer, 0, sizeof buffer);
    LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return buffer;
}

} // namespace kelpo
