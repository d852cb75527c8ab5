#include "tests/support/quoriel_module.h"

#include <gtest/gtest.h>

QuorielModule::QuorielModule() : HostedModule(Path()) {
    EXPECT_TRUE(Loaded()) << "cannot load the module";
}

std::wstring QuorielModule::Path() {
    const std::string path = QUORIEL_MODULE_PATH;
    return L"Z:" + std::wstring(path.begin(), path.end());
}
