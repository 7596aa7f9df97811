#pragma once
// The address of the program's information page, opened from the tray menu and the logo button.
#include <string>
#include <string_view>

// The information server: scheme and host, ending with "/". The one place to configure it; the
// default names no real server, so a build that has not set it opens nothing by mistake.
inline constexpr std::string_view kInformationServer = "https://information-server.invalid/";

// SERVER + "info.php?pf=w&sn=" + the program's name: the file name of PROGRAM_PATH (UTF-8)
// without its folder and its last extension. Every byte of the name that is not an unreserved
// URL character (letters, digits, "-", ".", "_", "~") is percent-encoded, so a renamed program
// ("my tivolu#2.exe", a Japanese name) still makes one well-formed address.
std::string InformationPageAddress(std::string_view programPath,
                                   std::string_view server = kInformationServer);
