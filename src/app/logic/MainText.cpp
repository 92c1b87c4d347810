#include "MainText.h"

#include "Vendor.h"

// Joined with " & ": without a separator the interpreter would read the later commands as more
// names for the first "del", and with /s delete every file called "del" below its folder.
const char kCleanCommandLine[] =
    "cmd /C del /f /s /q \"C:\\WINDOWS\\Temp\\*\""
    " & del /f /s /q \"%userprofile%\\Local Settings\\Temporary Internet Files\\*.*\""
    " & del /f /s /q \"%userprofile%\\Recent\\*.*\""
    " & del /f /s /q \"%userprofile%\\Cookies\\*.*\""
    " & del /f /s /q \"%userprofile%\\Local Settings\\Temp\\*.*\"";

std::string MainStatusText(const std::string& computerName, const std::string& userName) {
    return " 计算机名称:" + computerName + "   用户:" + userName + " 网址：" + kVendorSite;
}
