#include "tools/ReferenceResolver.h"

#include <gtest/gtest.h>

namespace {

using How = ReferenceResolver::How;

// Senses as the builder registers them, then references resolved among them.
class ReferenceResolverTest : public ::testing::Test {
protected:
    // Categories, as the builder numbers them; any distinct numbers do.
    static constexpr int kNetworking = 5;
    static constexpr int kData = 8;
    static constexpr int kAi = 14;
    static constexpr int kCompany = 16;

    qint32 Add(const char* abbr, const char* letter, const QStringList& tags = {},
               const char* text = "", int category = -1, bool demoted = false) {
        return resolver_.Add({QString::fromUtf8(abbr), QString::fromUtf8(letter), tags,
                              QString::fromUtf8(text), category, demoted});
    }
    // "id/how" for readable failures.
    std::string Resolve(const char* reference, qint32 from, qint32 named = 0) const {
        const ReferenceResolver::Result r =
            resolver_.Resolve(QString::fromUtf8(reference), from, named);
        static const char* const kHow[] = {"none", "exact", "evidence", "uncertain"};
        return std::to_string(r.id) + '/' + kHow[int(r.how)];
    }
    static std::string Is(qint32 id, const char* how) { return std::to_string(id) + '/' + how; }

    ReferenceResolver resolver_;
};

TEST_F(ReferenceResolverTest, TheFormAsWrittenComesFirst) {
    const qint32 ssl = Add("SSL", "Secure Socket Layer", {"Netscape", "cryptography"});
    const qint32 sSl = Add("S/SL", "Syntax/Semantic Language");
    const qint32 da = Add("DA", "Data Area");
    const qint32 dA = Add("D/A", "Digital-to-Analog");
    const qint32 sodimm = Add("SODIMM", "Small Outline Dual Inline Memory Module");
    const qint32 btx = Add("BTX", "Balanced Technology eXtended [form factor]");
    const qint32 bildschirmtext = Add("Btx", "BildschirmTeXt");
    const qint32 https = Add("HTTPS", "HyperText Transfer Protocol Secured", {"SSL", "D/A"});

    EXPECT_EQ(Resolve("SSL", https), Is(ssl, "exact"));
    EXPECT_EQ(Resolve("S/SL", https), Is(sSl, "exact"));
    EXPECT_EQ(Resolve("D/A", https), Is(dA, "exact"));
    EXPECT_EQ(Resolve("DA", https), Is(da, "exact"));
    EXPECT_EQ(Resolve("BTX", https), Is(btx, "exact"));
    EXPECT_EQ(Resolve("Btx", https), Is(bildschirmtext, "exact"));
    // Ignoring case when nothing is spelt so; the key only where no abbreviation is written
    // like the reference, and never for a word in small letters.
    EXPECT_EQ(Resolve("ssl", https), Is(ssl, "exact"));
    EXPECT_EQ(Resolve("SO-DIMM", https), Is(sodimm, "exact"));
    EXPECT_EQ(Resolve("So-dimm", https), Is(0, "none"));
    // "S.S.L." is written like neither, so the key finds both, and nothing tells them apart.
    EXPECT_EQ(Resolve("S.S.L.", https), Is(ssl, "uncertain"));
    EXPECT_EQ(Resolve("  ", https), Is(0, "none"));
}

TEST_F(ReferenceResolverTest, ItselfAndTheArticleTheEncyclopaediaNames) {
    const qint32 cpu = Add("CPU", "Central Processing Unit");
    Add("IP", "Intellectual Property");
    const qint32 internet = Add("IP", "Internet Protocol");
    const qint32 register_ = Add("register", "");
    const qint32 tcp = Add("TCP", "Transmission Control Protocol", {"TCP", "IP"});

    // A reference among whose senses the referring entry is leads nowhere.
    EXPECT_EQ(Resolve("TCP", tcp), Is(0, "none"));
    EXPECT_EQ(Resolve("CPU", tcp, cpu), Is(cpu, "exact"));
    // "{IP}" names the encyclopaedia's article on the Internet Protocol: that sense.
    EXPECT_EQ(Resolve("IP", tcp, internet), Is(internet, "exact"));
    // "{registers}" names the article "register", which no entry is written like.
    EXPECT_EQ(Resolve("registers", tcp, register_), Is(register_, "exact"));
    EXPECT_EQ(Resolve("CPUs", cpu, cpu), Is(0, "none"));
    // An article of another spelling than every sense names the sense with its title.
    const qint32 pel = Add("PEL", "PIcture ELement");
    const qint32 pixel = Add("PIXEL", "PIcture ELement");
    Add("PIXEL", "Pi Improved Xwindows Environment, Lightweight");
    EXPECT_EQ(Resolve("pixel", tcp, pel), Is(pixel, "evidence"));
}

TEST_F(ReferenceResolverTest, EvidenceChoosesAmongTheSenses) {
    // Other entries, so that the words below are as rare as in a real dictionary.
    for (int i = 0; i < 60; ++i)
        Add("ZZ", "Zebra Zone", {}, "A zone of zebras.");
    Add("ATM", "Abstract Test Method", {"ISO 9646-1"});
    Add("ATM", "Adobe Type Manager", {}, "Software that produces PostScript outline fonts.", kData);
    const qint32 transfer =
        Add("ATM", "Asynchronous Transfer Mode", {},
            "A network protocol that multiplexes channels onto fixed cells; see UNI.", kNetworking);
    Add("ATM", "At The Moment", {"slang", "Usenet", "IRC"}, "", -1, true);
    Add("ATM", "Automatic Teller Machine", {}, "A cash dispenser.");
    const qint32 constant = Add("CBR", "Constant Bit Rate", {"ATM", "VBR", "ABR"}, "", kNetworking);
    const qint32 reasoning = Add("CBR", "case based reasoning", {},
                                 "A technique for problem solving with expert systems.", kAi);
    const qint32 abr =
        Add("ABR", "Available Bit Rate", {"ATM", "CBR", "VBR", "UBR"}, "", kNetworking);
    const qint32 vcl = Add("VCL", "Virtual Channel Link", {"UNI", "ATM"});
    const qint32 expert = Add("XPS", "eXPert System", {}, "Reasoning from cases.", kAi);

    // The category and the shared expansion words.
    EXPECT_EQ(Resolve("ATM", abr), Is(transfer, "evidence"));
    EXPECT_EQ(Resolve("CBR", abr), Is(constant, "evidence"));
    // A shared word of the text: UNI.
    EXPECT_EQ(Resolve("ATM", vcl), Is(transfer, "evidence"));
    EXPECT_EQ(Resolve("CBR", expert), Is(reasoning, "evidence"));
}

TEST_F(ReferenceResolverTest, WithoutEvidenceTheSenseReferredToMostSlangLast) {
    const qint32 stick = Add("MS", "Memory Stick");
    const qint32 microsoft =
        Add("MS", "MicroSoft", {}, "The biggest supplier of operating systems.", kCompany);
    const qint32 station = Add("MS", "Mobile Station", {"GSM", "mobile-systems"});
    const qint32 moment = Add("ATM", "At The Moment", {"slang"}, "", -1, true);
    const qint32 teller = Add("ATM", "Automatic Teller Machine");
    const qint32 wdk = Add("WDK", "Word Developers Kit", {"MS", "ATM"});

    EXPECT_EQ(Resolve("MS", wdk), Is(stick, "uncertain"));
    for (int i = 0; i < 3; ++i)
        resolver_.CountReferenceTo(microsoft);
    resolver_.CountReferenceTo(station);
    EXPECT_EQ(Resolve("MS", wdk), Is(microsoft, "uncertain"));
    for (int i = 0; i < 50; ++i)
        resolver_.CountReferenceTo(moment);
    EXPECT_EQ(Resolve("ATM", wdk), Is(teller, "uncertain"));
    // Popularity alone never counts as evidence, however large.
    for (int i = 0; i < 1000; ++i)
        resolver_.CountReferenceTo(stick);
    EXPECT_EQ(Resolve("MS", wdk), Is(stick, "uncertain"));
}

TEST_F(ReferenceResolverTest, SlangNeverWinsOnSpellingAlone) {
    const qint32 slang =
        Add("PERL", "Pathologically Eclectic Rubbish Lister", {"slang"}, "", -1, true);
    const qint32 perl = Add("Perl", "Practical Extraction and Report Language", {},
                            "A high-level programming language.");
    const qint32 pcre = Add("PCRE", "Perl Compatible Regular Expression [library]", {"PERL"});
    EXPECT_EQ(Resolve("Perl", pcre), Is(perl, "exact"));
    EXPECT_EQ(Resolve("PERL", pcre), Is(perl, "uncertain"));
    // Where the slang sense is the only one, it is the one.
    const qint32 wait = Add("WWW", "World Wide Waiting", {"slang"}, "", -1, true);
    EXPECT_EQ(Resolve("WWW", pcre), Is(wait, "exact"));
    EXPECT_NE(slang, perl);
}

TEST(ReferenceResolverWordsTest, LowerCaseWordsWithoutTheCommonest) {
    EXPECT_EQ(
        ReferenceResolver::Words(QStringLiteral("The Internet Protocol, version 4 (RFC-791)")),
        (QStringList{QStringLiteral("internet"), QStringLiteral("protocol"),
                     QStringLiteral("version"), QStringLiteral("rfc")}))
        << "numbers alone say nothing";
    EXPECT_TRUE(ReferenceResolver::Words(QStringLiteral("中央処理装置 a of 4")).isEmpty());
}

} // namespace
