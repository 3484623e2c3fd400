#include "tools/VeraRecord.h"

#include <gtest/gtest.h>

namespace {

VeraRecord Parsed(const QString& text, VeraParse expected = VeraParse::Ok) {
    VeraRecord r;
    EXPECT_EQ(ParseVeraRecord(text, &r), expected) << qPrintable(text);
    return r;
}

TEST(VeraRecordTest, ExpansionAndTags) {
    const VeraRecord r = Parsed(
        QStringLiteral("BP\n       Base Pointer [register] (CPU, Quillon, assembler)\n       \n"));
    EXPECT_EQ(r.abbr, QStringLiteral("BP"));
    EXPECT_EQ(r.key, QStringLiteral("BP"));
    EXPECT_EQ(r.expansion, QStringLiteral("Base Pointer [register]"));
    EXPECT_EQ(r.tags, (QStringList{QStringLiteral("CPU"), QStringLiteral("Quillon"),
                                   QStringLiteral("assembler")}));

    const VeraRecord plain = Parsed(QStringLiteral("CPU\n       Central Processing Unit\n"));
    EXPECT_EQ(plain.expansion, QStringLiteral("Central Processing Unit"));
    EXPECT_TRUE(plain.tags.isEmpty());
}

TEST(VeraRecordTest, TheQuotedSpellingIsTheAbbreviationAsWritten) {
    const VeraRecord r = Parsed(
        QStringLiteral("80211HR\n       802.11 High Rate (IEEE, WLAN), \"802.11/HR\"\n       \n"));
    EXPECT_EQ(r.abbr, QStringLiteral("802.11/HR"));
    EXPECT_EQ(r.key, QStringLiteral("80211HR"));
    EXPECT_EQ(r.expansion, QStringLiteral("802.11 High Rate"));
    EXPECT_EQ(r.tags, (QStringList{QStringLiteral("IEEE"), QStringLiteral("WLAN")}));

    // Several spellings: the first that spells the acronym wins; one that does not is ignored.
    const VeraRecord two = Parsed(QStringLiteral(
        "DCERPC\n       Distributed Computing Environment / Remote Procedure Call (DCE, RPC), "
        "\"DCE/RPC\" , \"DCE RPC\"\n"));
    EXPECT_EQ(two.abbr, QStringLiteral("DCE/RPC"));
    EXPECT_EQ(two.expansion,
              QStringLiteral("Distributed Computing Environment / Remote Procedure Call"));
    const VeraRecord wrong =
        Parsed(QStringLiteral("VUP\n       VAX Unit of Performance, \"VUPs\"\n"));
    EXPECT_EQ(wrong.abbr, QStringLiteral("VUP"));
    EXPECT_EQ(wrong.expansion, QStringLiteral("VAX Unit of Performance"));

    // Parentheses inside the spelling do not count as tags.
    const VeraRecord inner = Parsed(QStringLiteral(
        "CRFVC\n       Connection Related Function Virtual Channel (UPC, UNI), \"CRF(VC)\"\n"));
    EXPECT_EQ(inner.abbr, QStringLiteral("CRF(VC)"));
    EXPECT_EQ(inner.tags, (QStringList{QStringLiteral("UPC"), QStringLiteral("UNI")}));
}

TEST(VeraRecordTest, WrappedLinesAndNestedBrackets) {
    const VeraRecord r = Parsed(
        QStringLiteral("3GIP\n       3rd Generation . Internet Protocol (org., IP, GPRS, WLAN,\n"
                       "mobile-systems), \"3G.IP\"\n       \n"));
    EXPECT_EQ(r.abbr, QStringLiteral("3G.IP"));
    EXPECT_EQ(r.tags.size(), 5);
    EXPECT_EQ(r.tags.last(), QStringLiteral("mobile-systems"));

    const VeraRecord nested = Parsed(QStringLiteral("GIBI\n       GIgaBInary [(2^10)^3] (IEC)\n"));
    EXPECT_EQ(nested.expansion, QStringLiteral("GIgaBInary [(2^10)^3]"));
    EXPECT_EQ(nested.tags, QStringList{QStringLiteral("IEC")});

    // Only the last group is the tag list; an earlier one belongs to the expansion.
    const VeraRecord groups = Parsed(QStringLiteral(
        "DVDRA\n       Digital Versatile Disk - Read (Authoring) (DVD-R, DVD), \"DVD-R(A)\"\n"));
    EXPECT_EQ(groups.expansion, QStringLiteral("Digital Versatile Disk - Read (Authoring)"));
    EXPECT_EQ(groups.tags, (QStringList{QStringLiteral("DVD-R"), QStringLiteral("DVD")}));

    const VeraRecord dots = Parsed(QStringLiteral("3DC\n       3D Consortium (org., ...)\n"));
    EXPECT_EQ(dots.tags, QStringList{QStringLiteral("org.")});
}

TEST(VeraRecordTest, OnlyTheFirstParagraphIsTheExpansion) {
    // A stray entry glued below another one's expansion is not part of it.
    const VeraRecord r = Parsed(QStringLiteral(
        "BP\n       Base Pointer [register] (CPU)\n       \n       BP;DR        Behind "
        "Paywall; Didn't Read (slang)\n       \n"));
    EXPECT_EQ(r.expansion, QStringLiteral("Base Pointer [register]"));
    EXPECT_EQ(r.tags, QStringList{QStringLiteral("CPU")});
}

TEST(VeraRecordTest, RecordsThatCannotBeEntries) {
    Parsed(QStringLiteral("XYZ\n       \n\n"), VeraParse::NoExpansion);
    Parsed(QStringLiteral("XYZ"), VeraParse::NoExpansion);
    Parsed(QStringLiteral("\n\n"), VeraParse::NoAbbreviation);
    Parsed(QStringLiteral("&&\n       Double Ampersand\n"), VeraParse::NoAbbreviation);
}

TEST(VeraRecordTest, StoredKeysHoldNoWildcards) {
    EXPECT_EQ(EntryKeyOf(QStringLiteral("C*?-ab 1")), QStringLiteral("CAB1"));
    EXPECT_EQ(EntryKeyOf(QStringLiteral("TCP/IP")), QStringLiteral("TCPIP"));
}

} // namespace
