#include <gtest/gtest.h>

#include "ui/qt/QtText.h"

namespace kiv {

TEST(QtText, LatinOneNamesTravelUnchanged)
{
    const std::string name = "2-Chlor\xF6thanol \xB5g";
    EXPECT_EQ(FromQString(ToQString(name)), name);
    EXPECT_EQ(ToQString(name).size(), 17);
    EXPECT_EQ(FromQString(QString::fromUtf8("\xE2\x82\xAC")), "?");
}

}  // namespace kiv
