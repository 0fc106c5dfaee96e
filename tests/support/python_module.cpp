#include "tests/support/python_module.h"

#include <unistd.h>

#include "tests/support/run_program.h"

namespace testsupport {

std::string PythonWithModule(const std::string& module) {
    for (const std::string& python : {std::string("/usr/bin/python3"), FindProgram("python3")})
        if (!python.empty() && access(python.c_str(), X_OK) == 0 &&
            RunProgram({python, "-c", "import " + module}).exit_code == 0)
            return python;
    return {};
}

}  // namespace testsupport
