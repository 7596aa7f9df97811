#include "settings/core/information_page.h"

#include <gtest/gtest.h>

TEST(InformationPage, AddressEndsWithTheProgramsNameEncodedWhereAQueryNeedsIt) {
  const std::string base = std::string(kInformationServer) + "info.php?pf=w&sn=";
  EXPECT_EQ(InformationPageAddress("C:\\Program Files\\Tivolu\\tivolu.exe"), base + "tivolu");
  // Only the text from the last dot goes.
  EXPECT_EQ(InformationPageAddress("C:\\a.b\\tivolu.v2.exe"), base + "tivolu.v2");
  EXPECT_EQ(InformationPageAddress("C:\\bin\\tivolu"), base + "tivolu");
  // Blanks, query delimiters and percent signs would change what the server reads.
  EXPECT_EQ(InformationPageAddress("C:\\my tivolu#2&x=1%.exe"), base + "my%20tivolu%232%26x%3D1%25");
  // Japanese names as their UTF-8 bytes.
  EXPECT_EQ(InformationPageAddress("Z:\\ツール\\起動.exe"), base + "%E8%B5%B7%E5%8B%95");
  EXPECT_EQ(InformationPageAddress("tivolu.exe", "http://example.test/"),
            "http://example.test/info.php?pf=w&sn=tivolu");
}
