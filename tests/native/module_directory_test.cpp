#include <gtest/gtest.h>

#include "platform/module_directory.h"

namespace tolvarine {
namespace {

TEST(DirectoryOfModulePath, DropsTheFileNameAndKeepsRootsAndNetworkPaths) {
    EXPECT_EQ(DirectoryOfModulePath(L"C:\\Apps\\Tolvarine\\TolvarineLauncher.exe"), L"C:\\Apps\\Tolvarine");
    EXPECT_EQ(DirectoryOfModulePath(L"Q:\\TolvarineLauncher.exe"), L"Q:\\");
    EXPECT_EQ(DirectoryOfModulePath(L"\\\\server\\share\\TolvarineLauncher.exe"), L"\\\\server\\share");
    EXPECT_EQ(DirectoryOfModulePath(L"\\\\?\\C:\\TolvarineLauncher.exe"), L"\\\\?\\C:\\");
    EXPECT_EQ(DirectoryOfModulePath(L"\\\\?\\UNC\\server\\share\\a\\x.exe"), L"\\\\?\\UNC\\server\\share\\a");
    EXPECT_EQ(DirectoryOfModulePath(L"C:\\Zo\u00EB \u6587\u4EF6\\x.exe"), L"C:\\Zo\u00EB \u6587\u4EF6");
    EXPECT_EQ(DirectoryOfModulePath(L"x.exe"), L"");
}

}  // namespace
}  // namespace tolvarine
