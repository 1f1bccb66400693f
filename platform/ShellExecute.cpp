#include "platform/ShellExecute.h"

#include "platform/DialogSeam.h"

void ShellExecute(const std::string& verb, const std::string& file, const std::string& parameters,
                  int showCommand) {
    DialogSeam().ShellExecute({verb, file, parameters, showCommand});
}
