#include "Commands.h"

#include "common/KelException.h"

int RunSheet(const std::vector<std::string>&, std::ostream&)
{
    throw KelException("sheet: not in this vx8, built without pango and cairo (PW_GUI=OFF)");
}
