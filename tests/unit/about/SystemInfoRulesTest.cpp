// The probe's tables and texts, row by row.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "saver/about/SystemInfoRules.h"

using namespace kv;
using testing::StrEq;
using testing::ThrowsMessage;

namespace {

constexpr uint32_t kNT = 2, k9x = 1, kWin32s = 0;

VersionValues V(uint32_t platform, uint32_t major, uint32_t minor, std::string sp = "") {
    return VersionValues{platform, major, minor, std::move(sp)};
}

const auto kNoHotfix = [] { return false; };
const auto kHotfix = [] { return true; };

}  // namespace

TEST(SystemInfoRules, EveryRowOfTheProductTableAndItsName) {
    struct Row {
        uint32_t platform, major, minor;
        TOSProductKind product;
        const char* name;
    };
    const Row rows[] = {
        {kNT, 3, 0, prWinNT, "Windows NT"},        {kNT, 4, 0, prWinNT, "Windows NT"},
        {kNT, 3, 51, prUnknownNT, ""},             {kNT, 4, 1, prUnknownNT, ""},
        {kNT, 5, 0, prWin2000, "Windows 2000"},    {kNT, 5, 1, prWinXP, "Windows XP"},
        {kNT, 5, 2, prWin2003, "Windows 2003"},    {kNT, 5, 3, prUnknownNT, ""},
        {kNT, 6, 0, prWinVista, "Windows Vista"},  {kNT, 6, 1, prUnknownNT, ""},
        {kNT, 6, 2, prUnknownNT, ""},              {kNT, 10, 0, prUnknownNT, ""},
        {kNT, 2, 0, prUnknownNT, ""},              {k9x, 4, 0, prWin95, "Windows 95"},
        {k9x, 4, 10, prWin98, "Windows 98"},       {k9x, 4, 90, prWinMe, "Windows Me"},
        {k9x, 4, 3, prUnknown9x, ""},              {k9x, 5, 0, prUnknown9x, ""},
        {kWin32s, 3, 11, prWin32s, ""},            {kWin32s, 0, 0, prWin32s, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.platform << " " << r.major << "." << r.minor);
        EXPECT_EQ(ProductOf(V(r.platform, r.major, r.minor)), r.product);
        EXPECT_EQ(ProductNameOf(r.product), r.name);
    }
    EXPECT_EQ(PlatformOf(2), pkNT);
    EXPECT_EQ(PlatformOf(1), pk9x);
    EXPECT_EQ(PlatformOf(0), pkWin32s);
}

TEST(SystemInfoRules, AnUnknownPlatformOrProductRaisesItsOwnSpelling) {
    const auto platformError = ThrowsMessage<ESystemInfoError>(StrEq("Unrecognized operating system platform"));
    EXPECT_THAT([] { PlatformOf(3); }, platformError);
    EXPECT_THAT([] { ProductOf(V(7, 5, 1)); }, platformError);
    EXPECT_THAT([] { ServicePackOf(V(7, 5, 1), kNoHotfix); }, platformError);
    EXPECT_THAT([] { ProductNameOf(prUnknown); },
                ThrowsMessage<ESystemInfoError>(StrEq("Unrecognised operating system product")));
}

TEST(SystemInfoRules, ServicePackTexts) {
    struct Row {
        VersionValues version;
        bool hotfix;
        const char* servicePack;
    };
    const Row rows[] = {
        {V(kNT, 5, 1, "Service Pack 3"), false, "Service Pack 3"},
        {V(kNT, 5, 1, ""), false, ""},
        {V(kNT, 4, 0, "Service Pack 6"), true, "Service Pack 6a"},
        {V(kNT, 4, 0, "sERVICE pACK 6"), true, "Service Pack 6a"},
        {V(kNT, 4, 0, "Service Pack 6"), false, "Service Pack 6"},
        {V(kNT, 4, 0, "Service Pack 5"), true, "Service Pack 5"},
        {V(kNT, 3, 0, "Service Pack 6"), true, "Service Pack 6"},
        {V(kNT, 3, 51, "Service Pack 5"), true, "Service Pack 5"},
        {V(kNT, 6, 1, "Service Pack 1"), true, "Service Pack 1"},
        {V(k9x, 4, 0, "B"), false, "OSR2"},
        {V(k9x, 4, 0, "c "), false, "OSR2"},
        {V(k9x, 4, 0, "A"), false, ""},
        {V(k9x, 4, 0, " B"), false, ""},
        {V(k9x, 4, 10, " A "), false, ""},
        {V(k9x, 4, 10, "a"), false, "SE"},
        {V(k9x, 4, 10, "B"), false, ""},
        {V(k9x, 4, 90, "A"), false, ""},
        {V(k9x, 4, 0, ""), false, ""},
        {V(kWin32s, 0, 0, "B"), false, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.version.platformId << " " << r.version.major << "." << r.version.minor
                                        << " '" << r.version.servicePack << "' hotfix " << r.hotfix);
        EXPECT_EQ(ServicePackOf(r.version, [&] { return r.hotfix; }), r.servicePack);
    }
}

TEST(SystemInfoRules, TheHotfixKeyIsLookedForOnlyOnNT4WithServicePack6) {
    int asked = 0;
    auto hotfix = [&] { ++asked; return true; };
    EXPECT_FALSE(IsNT4SP6aOf(V(kNT, 5, 1, "Service Pack 6"), hotfix));
    EXPECT_FALSE(IsNT4SP6aOf(V(kNT, 3, 0, "Service Pack 6"), hotfix));
    EXPECT_FALSE(IsNT4SP6aOf(V(kNT, 4, 0, "Service Pack 6a"), hotfix));
    EXPECT_FALSE(IsNT4SP6aOf(V(k9x, 4, 0, "Service Pack 6"), hotfix));
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(IsNT4SP6aOf(V(kNT, 4, 0, "SERVICE PACK 6"), hotfix));
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(IsNT4SP6aOf(V(kNT, 4, 0, "Service Pack 6"), kNoHotfix));
}

TEST(SystemInfoRules, RegistryValuesAsText) {
    using Bytes = std::vector<unsigned char>;
    EXPECT_EQ(RegistryValueText(kRegSz, Bytes{'5', '5', '2', 0, 'x', 0}), "552");
    EXPECT_EQ(RegistryValueText(kRegSz, Bytes{'a', 'b'}), "ab");
    EXPECT_EQ(RegistryValueText(kRegSz, Bytes{}), "");
    EXPECT_EQ(RegistryValueText(kRegExpandSz, Bytes{'%', 'W', '%', 0}), "%W%");
    EXPECT_EQ(RegistryValueText(kRegDword, Bytes{0x39, 0x30, 0, 0}), "12345");
    EXPECT_EQ(RegistryValueText(kRegDword, Bytes{0xFF, 0xFF, 0xFF, 0xFF}), "-1");
    EXPECT_EQ(RegistryValueText(kRegDword, Bytes{0, 0, 0, 0x80}), "-2147483648");
    for (uint32_t type : {kRegBinary, 0u, 7u, 11u})
        EXPECT_THAT([&] { RegistryValueText(type, Bytes{1, 2, 3, 4}); },
                    ThrowsMessage<ESystemInfoError>(StrEq("Unsupported registry type")))
            << type;
}

TEST(SystemInfoRules, ProcessorFigureAndItsText) {
    EXPECT_DOUBLE_EQ(CpuMhzFromCycles(1200000000ull), 2400.0);
    EXPECT_EQ(CpuFrequencyText(2400.0, "."), "CPU Frequency : 2400.00 MHz");
    EXPECT_EQ(CpuFrequencyText(99.5, "."), "CPU Frequency :  99.50 MHz");
    EXPECT_EQ(CpuFrequencyText(3.14159, ","), "CPU Frequency :   3,14 MHz");
    EXPECT_EQ(CpuFrequencyText(123456.789, ","), "CPU Frequency : 123456,79 MHz");
}

TEST(SystemInfoRules, MemoryInWholeMegabytesHalvesToEven) {
    const uint64_t mb = 1048576;
    EXPECT_EQ(WholeMegabytes(1610612736ull), 1536u);
    EXPECT_EQ(WholeMegabytes(mb + mb / 2), 2u);
    EXPECT_EQ(WholeMegabytes(2 * mb + mb / 2), 2u);
    EXPECT_EQ(WholeMegabytes(2 * mb + mb / 2 + 1), 3u);
    EXPECT_EQ(WholeMegabytes(mb / 2 - 1), 0u);
    EXPECT_EQ(WholeMegabytes(4294967295ull), 4096u);
    EXPECT_EQ(WholeMegabytes(24ull << 30), 24576u);
    EXPECT_EQ(TotalMemoryText(1536), "Total physical memory: 1536 MB");
    EXPECT_EQ(FreeMemoryText(24576), "Free physical memory: 24576 MB");
}
