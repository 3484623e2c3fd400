#include "tools/CategoryTable.h"

#include <QHash>

namespace CategoryTable {

namespace {

enum Id {
    Hardware,
    OperatingSystem,
    Software,
    Programming,
    Language,
    Networking,
    Communications,
    Internet,
    DataFormat,
    Database,
    Security,
    Graphics,
    AudioVideo,
    Mathematics,
    ArtificialIntelligence,
    Organisation,
    Company,
    Slang,
    Unit,
    Business,
    Term,
    General
};

struct Mapping {
    int category;
    const char* words; // subjects and tags, separated by "|"
    const char* tags;  // acronym tags, compared as written
};

// In the order of Id, which is the order the categories are numbered in.
const Category kCategories[] = {
    {"HW", "ハードウェア"},
    {"OS", "オペレーティングシステム"},
    {"SW", "ソフトウェア"},
    {"PROG", "プログラミング"},
    {"LANG", "プログラミング言語"},
    {"NW", "ネットワーク"},
    {"COMM", "通信"},
    {"INET", "インターネット"},
    {"DATA", "データ形式"},
    {"DB", "データベース"},
    {"SEC", "セキュリティ"},
    {"GFX", "グラフィックス"},
    {"AV", "オーディオ・ビデオ"},
    {"MATH", "数学・理論"},
    {"AI", "人工知能"},
    {"ORG", "規格・団体"},
    {"CORP", "企業"},
    {"SLANG", "俗語"},
    {"UNIT", "単位"},
    {"BIZ", "ビジネス・社会"},
    {"TERM", "用語"},
    {"", "一般"},
};
constexpr int kCount = int(sizeof kCategories / sizeof kCategories[0]);
static_assert(kCount == General + 1);

// Subjects are compared in lower case; acronym tags as written, since a name in mixed case and
// an acronym spelt with the same letters ("Pine" and "PINE") are different things.
// clang-format off
const Mapping kMappings[] = {
    {Hardware,
     "hardware|processor|architecture|storage|electronics|computer|printer|integrated circuit|"
     "memory|printing",
     "CPU|IC|RAM|ROM|DRAM|SRAM|HDD|FDD|CD|LCD|SCSI|BIOS|PCI|USB|DIMM|AGP|ATA|RAID|Pentium|I/O|"
     "RISC|ARM|SMP|HPC|ACPI|Infiniband|PDA|PC|VAX|SATA|HD|CD-R|GPU|OLED|Cell|Streamer"},
    {OperatingSystem,
     "operating system|file system|memory management",
     "OS|Linux|Windows|Unix|DOS|OS/2|Windows NT|Android|BSD|AIX|Debian|Vista|XP|BS2000|VM|VM/ESA|"
     "Cygwin|FS|ZFS|GFS|X-Windows|Solaris"},
    {Software,
     "software|application|tool|library|editor|spreadsheet|games|benchmark|simulation",
     "EMACS|Eclipse|MMORPG|R/3|GNU|CICS|TYPO3"},
    {Programming,
     "programming|algorithm|compiler|testing|functional programming|parallel|"
     "software engineering|assembler",
     "API|OOP|CORBA|ORB|CASE|.NET|COM|OLE|Java|TTCN"},
    {Language,
     "language|grammar|logic programming",
     "PERL|LISP|BASIC|COBOL|PHP|VB|HDL|REXX"},
    {Networking,
     "networking|network|protocol|topology|ethernet|multicast",
     "ATM|OSI|OSI/RM|WLAN|LAN|IP|TCP/IP|TCP|UDP|PPP|FDDI|SNA|Token Ring|Netware|AppleTalk|IPX|"
     "SNMP|X.25|SONET|SDH|DNS|VINES|SAN|LANE|QOS|802.11a|X.500|PDU|UNI|PIM|DS1/E1|DS3/E3|DCE|"
     "FidoNet"},
    {Communications,
     "communications|telecommunications|telecommunication|mobile-systems|cable|fax|bluetooth",
     "ISDN|GSM|UMTS|GPRS|LTE|DSL|ADSL|MODEM|ITU|ETSI|CCITT|SMS|WAP|WIMAX|VoIP|IN|IRDA|GPS|"
     "DVB|B-ISDN|DOCSIS|PBX"},
    {Internet,
     "web|hypertext|messaging|chat|internet|usenet",
     "WWW|Usenet|IRC|XML|HTML|HTTP|SGML|W3C|IETF|ISP|ICANN|SPAM|ebXML|BBS|IM|ZOPE"},
    {DataFormat,
     "file format|filename extension|compression|character|text|data|unicode",
     "ASCII|EDIFACT|Unicode|CODEC"},
    {Database,
     "database|information science",
     "DB|SQL|DBMS"},
    {Security,
     "security|cryptography",
     "RSA|DES|TLS|DRM|IDS|EAP|CA|GIAC|PGP|TCPA"},
    {Graphics,
     "graphics|image|virtual reality|color system",
     "3D|OpenGL|VGA|XGA|VESA|CAD|DTP|VR"},
    {AudioVideo,
     "audio|video|multimedia|music|digital audio",
     "MPEG|MIDI|DVD|BD"},
    {Mathematics,
     "mathematics|theory|logic|complexity|computability|statistics|probability|reduction|types|"
     "symbolic mathematics",
     ""},
    {ArtificialIntelligence,
     "artificial intelligence|robotics",
     "AI|NN|KI"},
    {Organisation,
     "body|standard|convention|org.|org|user group|conference|konferenz|fair",
     "ISO|ANSI|IEEE|IEC|ECMA|NIST|ACM|OMG|X/Open|OSF|OASIS|ESPRIT"},
    {Company,
     "company|manufacturer|product",
     ""},
    {Slang,
     "jargon|humour|slang|exclamation|spelling",
     ""},
    {Unit,
     "unit",
     ""},
    {Business,
     "business|legal|job|education|marketing|banking|publication",
     ""},
};
// clang-format on

struct Lookup {
    QHash<QString, int> words;
    QHash<QString, int> tags;
    Lookup() {
        for (const Mapping& m : kMappings) {
            for (const QString& w :
                 QString::fromUtf8(m.words).split(QLatin1Char('|'), Qt::SkipEmptyParts))
                words.insert(w, m.category);
            for (const QString& t :
                 QString::fromUtf8(m.tags).split(QLatin1Char('|'), Qt::SkipEmptyParts))
                tags.insert(t, m.category);
        }
    }
};

const Lookup& Tables() {
    static const Lookup lookup;
    return lookup;
}

} // namespace

int Count() {
    return kCount;
}
const Category& At(int index) {
    return kCategories[index];
}
int GeneralIndex() {
    return General;
}
int SlangIndex() {
    return Slang;
}
int TermIndex() {
    return Term;
}

int ForSubject(const QString& subject) {
    return Tables().words.value(subject.trimmed().toLower(), -1);
}

int ForTag(const QString& tag) {
    const QString t = tag.trimmed();
    const int byTag = Tables().tags.value(t, -1);
    if (byTag >= 0)
        return byTag;
    // Requests for comments are the Internet's own standards.
    if (t.startsWith(QLatin1String("RFC")))
        return Internet;
    return Tables().words.value(t.toLower(), -1);
}

int ForTags(const QStringList& tags) {
    for (const QString& tag : tags) {
        const int category = ForTag(tag);
        if (category >= 0)
            return category;
    }
    return -1;
}

} // namespace CategoryTable
