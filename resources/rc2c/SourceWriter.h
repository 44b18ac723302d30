// SourceWriter: writes a module's resources as a C++ source file.
//
// The file defines the module's resource directory, bw_module_resources (hidden, one per
// module), which the module's start-up code registers with the Linux resource functions. All of
// it is constant data, initialised before any code of the module runs.
#pragma once

#include "ResourceSet.h"

#include <ostream>
#include <string>
#include <vector>

namespace rc2c {

void writeSource(std::ostream& Out, const std::vector<Resource>& Resources,
                 const std::string& ScriptName);

} // namespace rc2c
