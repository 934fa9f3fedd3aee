#include "filelist/moves.h"

// The row types in use, compiled once here.
template bool MoveSelectedUp(std::vector<std::string>&, std::vector<bool>&);
template bool MoveSelectedDown(std::vector<std::string>&, std::vector<bool>&);
