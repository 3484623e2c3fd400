#include "bench/BenchDictionary.h"

#include "bench/BenchRandom.h"
#include "data/DictionaryFile.h"
#include "data/DictionaryWriter.h"
#include "data/Schema.h"
#include "data/SqliteValue.h"
#include "data/Strings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_set>
#include <vector>

namespace BenchDictionary {
namespace {

constexpr std::uint64_t kSeed = 0x7E55A21E20000601ull;

struct Category {
    qint32 id;
    const char* name;
    const char* shortName;
    int weight;
};
const Category kCategories[kCategoryCount] = {
    {1, "ハードウェア", "HW", 22},     {2, "ソフトウェア", "SW", 20}, {3, "ネットワーク", "NW", 14},
    {4, "インターネット", "INET", 10}, {5, "データ形式", "DATA", 10}, {6, "言語・開発", "LANG", 10},
    {7, "規格・団体", "ORG", 9},       {8, "単位", "UNIT", 5}};

// Words that technical abbreviations are made of, by the letter they contribute.
const char* const kWords[26][16] = {
    {"Access", "Active", "Adaptive", "Address", "Advanced", "Analog", "Application", "Array",
     "Asynchronous", "Audio", "Automatic", "Authentication"},
    {"Basic", "Batch", "Binary", "Bit", "Block", "Board", "Boot", "Broadband", "Buffer", "Bus",
     "Byte"},
    {"Cache", "Cell", "Central", "Channel", "Circuit", "Client", "Code", "Color", "Common",
     "Control", "Controller", "Core", "Cryptographic"},
    {"Data", "Database", "Debug", "Decoder", "Device", "Digital", "Direct", "Disk", "Display",
     "Distributed", "Domain", "Dynamic"},
    {"Electronic", "Embedded", "Encoding", "Engine", "Enhanced", "Enterprise", "Error", "Event",
     "Exchange", "Extended", "External"},
    {"Fast", "Fiber", "Field", "File", "Filter", "Firmware", "Flash", "Floating", "Format", "Frame",
     "Frequency", "Function"},
    {"Gateway", "General", "Generic", "Global", "Graphics", "Grid", "Group", "Guide"},
    {"Handler", "Hardware", "Header", "High", "Host", "Hybrid", "Hyper", "Hypertext"},
    {"Image", "Index", "Industrial", "Information", "Input", "Instruction", "Integrated",
     "Intelligent", "Interface", "Internal", "International", "Interrupt"},
    {"Java", "Job", "Joint", "Journal", "Jump", "Junction"},
    {"Kernel", "Key", "Keyboard", "Kit", "Knowledge"},
    {"Language", "Large", "Layer", "Level", "Library", "Line", "Link", "Local", "Logic", "Logical",
     "Low"},
    {"Machine", "Main", "Management", "Media", "Memory", "Message", "Micro", "Mobile", "Mode",
     "Module", "Monitor", "Multiple"},
    {"Name", "Native", "Network", "Node", "Noise", "Non-volatile", "Number", "Numeric"},
    {"Object", "Online", "Open", "Operating", "Optical", "Optimized", "Output", "Overlay"},
    {"Packet", "Page", "Parallel", "Personal", "Physical", "Pixel", "Platform", "Point", "Port",
     "Portable", "Power", "Processing", "Processor", "Program", "Protocol", "Public"},
    {"Quality", "Quantum", "Query", "Queue", "Quick"},
    {"Radio", "Random", "Range", "Read", "Real-time", "Record", "Reduced", "Register", "Remote",
     "Request", "Resource", "Router"},
    {"Scalable", "Secure", "Segment", "Sequential", "Serial", "Server", "Service", "Session",
     "Signal", "Simple", "Socket", "Standard", "Storage", "Stream", "Synchronous", "System"},
    {"Table", "Task", "Terminal", "Test", "Text", "Thread", "Time", "Token", "Transfer",
     "Transmission", "Transport", "Tree"},
    {"Ultra", "Unicode", "Unified", "Unit", "Universal", "User", "Utility"},
    {"Value", "Variable", "Vector", "Version", "Video", "Virtual", "Visual", "Voice", "Volume"},
    {"Wave", "Web", "Wide", "Window", "Wireless", "Word", "Work", "Workstation"},
    {"Extensible", "Exchange", "Cross", "Transmit", "Xenon"},
    {"Yield", "Yellow", "Year"},
    {"Zero", "Zone", "Zip", "Zoom"}};

// How often each letter starts a word of a technical name, A to Z.
const int kLetterWeights[26] = {14, 8, 16, 12, 10, 8,  6,  6, 12, 2, 2, 8, 14,
                                8,  6, 16, 2,  10, 18, 12, 6, 6,  6, 4, 1, 1};

// Whole syllables some abbreviations carry instead of one initial.
struct Fragment {
    const char* text;
    const char* words[2];
};
const Fragment kFragments[] = {{"NET", {"Network", "Net"}},
                               {"NET", {"Network", "Net"}},
                               {"COM", {"Communication", "Computer"}},
                               {"SYS", {"System", "Systems"}},
                               {"TEL", {"Telephone", "Telecom"}},
                               {"SOFT", {"Software", "Soft"}},
                               {"DATA", {"Data", "Data"}},
                               {"LINK", {"Link", "Link"}},
                               {"WEB", {"Web", "Web"}},
                               {"MEM", {"Memory", "Memory"}}};

const char* const kDigits[] = {"2", "3", "4", "6", "8", "10", "11", "25", "32", "64"};

// Syllables for words the list above lacks, so that spelled-out forms vary.
const char* const kVowelSyllables[] = {"a",  "e",  "i",  "o",  "u",  "an", "er",
                                       "is", "ul", "ex", "at", "or", "en"};
const char* const kConsonantSyllables[] = {"ra",  "ne",  "tor", "lin", "mex", "da",  "vis", "cor",
                                           "gen", "tal", "ber", "sto", "ric", "mon", "pel", "das"};

const char* const kFields[] = {
    "ネットワーク",       "記憶装置", "画像処理",     "通信制御",
    "データベース",       "暗号技術", "組み込み機器", "表示装置",
    "音声処理",           "分散処理", "半導体",       "オペレーティングシステム",
    "プログラミング言語", "周辺機器", "電子メール",   "ファイル管理"};
const char* const kThings[] = {"規格",         "方式",         "装置",
                               "技術",         "仕組み",       "プロトコル",
                               "命令セット",   "ファイル形式", "インターフェース",
                               "制御方式",     "ソフトウェア", "回路",
                               "アルゴリズム", "サービス"};
const char* const kPurposes[] = {"データを高速に転送する", "複数の機器を接続する",
                                 "処理の負荷を分散する",   "誤りを検出して訂正する",
                                 "消費電力を抑える",       "互換性を保つ",
                                 "記憶領域を効率よく使う", "利用者を認証する",
                                 "通信の遅延を減らす",     "画面の表示を滑らかにする"};
const char* const kOrigins[] = {"業界団体", "複数のメーカー", "大学の研究グループ", "標準化委員会",
                                "ある通信事業者"};
const char* const kAdjectives[] = {"広く普及した", "初期の",       "現在主流の",
                                   "実験的な",     "小型機向けの", "企業向けの"};
const char* const kUnits[] = {"メガビット毎秒", "キロバイト", "台", "チャンネル", "ギガバイト"};

// Entries every run can rely on: the benchmarks search for them by name.
struct KnownEntry {
    const char* abbr;
    const char* letter;
    qint32 category;
};
const KnownEntry kKnownEntries[] = {
    {"CPU", "Central Processing Unit", 1},
    {"GPU", "Graphics Processing Unit", 1},
    {"MPU", "Micro Processing Unit", 1},
    {"FPU", "Floating Point Unit", 1},
    {"TCP/IP", "Transmission Control Protocol/Internet Protocol", 3},
    {"CD-ROM", "Compact Disc Read Only Memory", 1},
    {"NetBIOS", "Network Basic Input Output System", 3},
    {"ARPANET", "Advanced Research Projects Agency Network", 4}};

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

struct Headword {
    QString abbr;
    QString key;
    QString letter;
    bool letterIsNull = false;
};

QString PseudoWord(BenchRandom& random, QChar initial) {
    QString word(initial);
    const bool vowel = QStringLiteral("AEIOU").contains(initial);
    if (!vowel)
        word += QLatin1String(random.Pick(kVowelSyllables));
    const int more = random.Between(vowel ? 1 : 0, 2);
    for (int i = 0; i < more; ++i)
        word += QLatin1String(random.Pick(kConsonantSyllables));
    return word;
}

int WeightedLetter(BenchRandom& random) {
    static const int total = [] {
        int sum = 0;
        for (int w : kLetterWeights)
            sum += w;
        return sum;
    }();
    int r = random.Below(total);
    for (int i = 0; i < 26; ++i) {
        if (r < kLetterWeights[i])
            return i;
        r -= kLetterWeights[i];
    }
    return 0;
}

int KeyLength(BenchRandom& random) {
    // Short keys are few because there are few of them to have.
    const int r = random.Below(1000);
    if (r < 10)
        return 2;
    if (r < 50)
        return 3;
    if (r < 250)
        return 4;
    if (r < 540)
        return 5;
    if (r < 780)
        return 6;
    if (r < 910)
        return 7;
    return 8;
}

// One abbreviation and the spelled-out form it stands for.
Headword MakeHeadword(BenchRandom& random) {
    struct Piece {
        QString abbr;
        QString word;
        bool letter;
    };
    std::vector<Piece> pieces;
    const int length = KeyLength(random);
    int used = 0;
    while (used < length) {
        const int left = length - used;
        const int r = random.Below(1000);
        if (r < 12 && left >= 3) {
            const Fragment& f = random.Pick(kFragments);
            if (int(qstrlen(f.text)) <= left) {
                pieces.push_back({Utf8(f.text), Utf8(f.words[random.Below(2)]), false});
                used += int(qstrlen(f.text));
                continue;
            }
        }
        if (r >= 12 && r < 80 && used > 0 && left <= 2) {
            const char* digits = random.Pick(kDigits);
            if (int(qstrlen(digits)) <= left) {
                pieces.push_back({Utf8(digits), Utf8(digits), false});
                used += int(qstrlen(digits));
                continue;
            }
        }
        const int letter = WeightedLetter(random);
        const QChar initial(char16_t(u'A' + letter));
        QString word;
        if (random.Chance(25)) {
            word = PseudoWord(random, initial);
        } else {
            const char* const* list = kWords[letter];
            int n = 0;
            while (n < 16 && list[n])
                ++n;
            word = Utf8(list[random.Below(n)]);
        }
        pieces.push_back({QString(initial), word, true});
        ++used;
    }

    // Now and then a separator between two pieces, or a letter shown in lower case (IPv6).
    qsizetype separatorAt = -1;
    QString separator;
    if (pieces.size() >= 2) {
        const int r = random.Below(1000);
        separator = r < 60 ? QStringLiteral("-") : r < 90 ? QStringLiteral("/") : QString();
        if (r >= 90 && r < 100 && length <= 4)
            separator = QStringLiteral("&");
        if (!separator.isEmpty())
            separatorAt = random.Between(1, int(pieces.size()) - 1);
    }
    if (pieces.size() >= 3 && random.Chance(3)) {
        Piece& p = pieces[size_t(random.Between(1, int(pieces.size()) - 1))];
        if (p.letter)
            p.abbr = p.abbr.toLower();
    }

    Headword h;
    QStringList words;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (qsizetype(i) == separatorAt) {
            h.abbr += separator;
            if (separator == QLatin1String("/"))
                words.last() += QLatin1Char('/') + pieces[i].word;
            else if (separator == QLatin1String("&"))
                words << QStringLiteral("and") << pieces[i].word;
            else
                words << pieces[i].word;
        } else {
            words << pieces[i].word;
        }
        h.abbr += pieces[i].abbr;
    }
    h.letter = words.join(QLatin1Char(' '));
    h.key = Strings::NormalizeKey(h.abbr);
    h.letterIsNull = random.Chance(3);
    if (h.letterIsNull)
        h.letter.clear();
    return h;
}

// Builds the marked-up description and its plain text side by side.
class DescriptionText {
public:
    void Text(const QString& s) {
        hyper_ += s;
        plain_ += s;
    }
    void Text(const char* s) { Text(Utf8(s)); }
    void Link(qint32 id, const QString& s) {
        hyper_ += QStringLiteral("\\J%1 %2\\j").arg(id).arg(s);
        plain_ += s;
    }
    void Bold(const QString& s) {
        hyper_ += QLatin1String("\\B") + s + QLatin1String("\\b");
        plain_ += s;
    }
    void Italic(const QString& s) {
        hyper_ += QLatin1String("\\I") + s + QLatin1String("\\i");
        plain_ += s;
    }
    void Paragraph() {
        hyper_ += QLatin1String("\r\n");
        plain_ += QLatin1String("\r\n");
    }
    void HalfLine() {
        hyper_ += QLatin1String("\\F");
        plain_ += QLatin1String("\r\n");
    }
    qsizetype Length() const { return plain_.size(); }
    const QString& Hyper() const { return hyper_; }
    const QString& Plain() const { return plain_; }

private:
    QString hyper_;
    QString plain_;
};

class Generator {
public:
    explicit Generator(int count) : random_(kSeed), count_(count) {}

    void MakeHeadwords() {
        headwords_.reserve(size_t(count_));
        std::unordered_set<std::string> keys;
        keys.reserve(size_t(count_) * 2);
        for (const KnownEntry& k : kKnownEntries) {
            if (int(headwords_.size()) == count_)
                break;
            Headword h{Utf8(k.abbr), Strings::NormalizeKey(Utf8(k.abbr)), Utf8(k.letter), false};
            keys.insert(h.key.toStdString());
            headwords_.push_back(h);
        }
        while (int(headwords_.size()) < count_) {
            Headword h;
            // Mostly unique, as a real dictionary is; a few abbreviations have a second meaning.
            for (int attempt = 0; attempt < 12; ++attempt) {
                h = MakeHeadword(random_);
                if (!keys.contains(h.key.toStdString()) || random_.Chance(4))
                    break;
            }
            keys.insert(h.key.toStdString());
            headwords_.push_back(std::move(h));
        }
    }

    bool Write(DictionaryWriter& writer, const Progress& progress) {
        for (const Category& c : kCategories) {
            if (!writer.AddCategory(c.id, Utf8(c.name), Utf8(c.shortName)))
                return false;
        }
        for (int i = 0; i < count_; ++i) {
            const qint32 id = i + 1;
            const Headword& h = headwords_[size_t(i)];
            std::vector<qint32> related = RelatedIds(id);

            DictionaryWriter::Entry e;
            e.id = id;
            e.key = h.key;
            e.abbr = h.abbr;
            e.letter = h.letter;
            e.letterIsNull = h.letterIsNull;
            e.categoryId =
                i < int(std::size(kKnownEntries)) ? kKnownEntries[i].category : CategoryOf(h);
            const DescriptionText text = Describe(h, related);
            e.hyperText = text.Hyper();
            if (!random_.Chance(2))
                e.description = text.Plain();
            if (random_.Chance(30))
                e.url =
                    random_.Chance(50)
                        ? QStringLiteral("http://www.%1.example.com/").arg(h.key.toLower())
                        : QStringLiteral("https://example.org/abbr/%1.html").arg(h.key.toLower());
            if (!writer.AddEntry(e))
                return false;
            for (qint32 ref : related) {
                if (!writer.AddLink(id, headwords_[size_t(ref - 1)].abbr, ref))
                    return false;
            }
            if (progress && (id % 50000 == 0 || id == count_))
                progress(id, count_);
        }
        return true;
    }

private:
    qint32 RandomId() { return random_.Between(1, count_); }

    std::vector<qint32> RelatedIds(qint32 self) {
        static const int kWeights[] = {15, 20, 25, 20, 12, 8}; // 0 to 5 related words
        int r = random_.Below(100);
        int n = 0;
        while (r >= kWeights[n]) {
            r -= kWeights[n];
            ++n;
        }
        std::vector<qint32> ids;
        for (int attempt = 0; int(ids.size()) < n && attempt < 20 && count_ > 1; ++attempt) {
            const qint32 id = RandomId();
            if (id != self && std::find(ids.begin(), ids.end(), id) == ids.end())
                ids.push_back(id);
        }
        return ids;
    }

    qint32 CategoryOf(const Headword& h) {
        if (h.key.contains(QLatin1String("NET")) && random_.Chance(80))
            return random_.Chance(60) ? 3 : 4;
        int total = 0;
        for (const Category& c : kCategories)
            total += c.weight;
        int r = random_.Below(total);
        for (const Category& c : kCategories) {
            if (r < c.weight)
                return c.id;
            r -= c.weight;
        }
        return 1;
    }

    // A reference target: one of the related words when there are any, so that text and list
    // agree as they do in a real dictionary.
    qint32 LinkTarget(const std::vector<qint32>& related) {
        if (!related.empty() && random_.Chance(70))
            return related[size_t(random_.Below(int(related.size())))];
        return RandomId();
    }

    void Sentence(DescriptionText& t, const Headword& h, const std::vector<qint32>& related) {
        auto link = [&] {
            const qint32 id = LinkTarget(related);
            t.Link(id, headwords_[size_t(id - 1)].abbr);
        };
        switch (random_.Below(8)) {
        case 0:
            t.Text(random_.Pick(kPurposes));
            t.Text("ために、");
            t.Text(QString::number(random_.Between(1965, 1999)));
            t.Text("年ごろに");
            t.Text(random_.Pick(kOrigins));
            t.Text("によって考案されました。");
            break;
        case 1:
            t.Text(random_.Pick(kAdjectives));
            t.Text(random_.Pick(kThings));
            t.Text("で、");
            link();
            t.Text("と組み合わせて使われることが多く、");
            t.Text(random_.Pick(kFields));
            t.Text("では欠かせない存在です。");
            break;
        case 2:
            t.Text("詳しくは");
            link();
            t.Text("を参照してください。");
            break;
        case 3:
            t.Text("よく似たものに");
            link();
            t.Text("がありますが、こちらは");
            t.Text(random_.Pick(kPurposes));
            t.Text("点が異なります。");
            break;
        case 4:
            t.Text("最大で");
            t.Text(QString::number(random_.Between(2, 1024)));
            t.Text(random_.Pick(kUnits));
            t.Text("までのデータを扱うことができ、");
            t.Text(random_.Pick(kFields));
            t.Text("の分野で広く使われています。");
            break;
        case 5:
            t.Text("当初は");
            t.Text(random_.Pick(kFields));
            t.Text("向けでしたが、のちに");
            link();
            t.Text("にも取り入れられました。");
            break;
        case 6:
            if (!h.letterIsNull) {
                t.Text(h.abbr);
                t.Text("という名前は、");
                t.Italic(h.letter);
                t.Text("の頭文字を並べたものです。");
                break;
            }
            [[fallthrough]];
        default:
            t.HalfLine();
            t.Bold(Utf8("例："));
            t.Text(" 「");
            t.Text(h.abbr);
            t.Text("に対応した");
            t.Text(random_.Pick(kThings));
            t.Text("」のように使います。");
            break;
        }
    }

    DescriptionText Describe(const Headword& h, const std::vector<qint32>& related) {
        DescriptionText t;
        t.Bold(h.abbr);
        t.Text("は");
        if (!h.letterIsNull) {
            t.Text(h.letter);
            t.Text("の略で、");
        }
        t.Text(random_.Pick(kFields));
        t.Text("の分野で使われる");
        t.Text(random_.Pick(kThings));
        t.Text("です。");
        const int target = random_.Between(150, 450);
        int sinceBreak = 0;
        while (t.Length() < target) {
            if (sinceBreak >= 2 && random_.Chance(40)) {
                t.Paragraph();
                sinceBreak = 0;
            }
            Sentence(t, h, related);
            ++sinceBreak;
        }
        return t;
    }

    BenchRandom random_;
    int count_;
    std::vector<Headword> headwords_;
};

bool QueryInteger(sqlite3* db, const char* sql, qint64* value) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return false;
    }
    SqliteStmt stmt(raw);
    if (sqlite3_step(stmt.get()) != SQLITE_ROW)
        return false;
    *value = sqlite3_column_int64(stmt.get(), 0);
    return true;
}

// The file must carry exactly the indexes the writer creates today.
bool HasCurrentIndexes(sqlite3* db) {
    int expected = 0;
    for (const QString& statement :
         QString::fromUtf8(Schema::kCreateIndexes).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString sql = statement.trimmed();
        if (sql.isEmpty())
            continue;
        const QString name = sql.section(QLatin1Char(' '), 2, 2);
        if (QueryTextValue(db, "SELECT sql FROM sqlite_master WHERE type = 'index' AND name = ?1",
                           name)
                .trimmed() != sql)
            return false;
        ++expected;
    }
    qint64 present = 0;
    return QueryInteger(db,
                        "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND sql NOT NULL",
                        &present) &&
           present == expected;
}

} // namespace

bool Generate(const QString& path, int count, QString* error, const Progress& progress) {
    if (count < 1) {
        *error = QStringLiteral("the entry count must be at least 1");
        return false;
    }
    Generator generator(count);
    generator.MakeHeadwords();
    DictionaryWriter writer(path);
    if (!writer.Begin() || !generator.Write(writer, progress) || !writer.Finish()) {
        *error = writer.ErrorText();
        return false;
    }
    return true;
}

bool IsComplete(const QString& path, int count) {
    if (DictionaryFile::Detect(path) != DictionaryFile::Format::Sqlite)
        return false;
    SqliteDb db = DictionaryFile::OpenSqlite(path);
    if (!db)
        return false;
    qint64 entries = 0;
    qint64 last = 0;
    qint64 categories = 0;
    return QueryInteger(db.get(), "SELECT count(*) FROM AbbrTB", &entries) && entries == count &&
           QueryInteger(db.get(), "SELECT max(AbbrID) FROM AbbrTB", &last) && last == count &&
           QueryInteger(db.get(), "SELECT count(*) FROM CategoryTB", &categories) &&
           categories == kCategoryCount &&
           QueryTextValue(db.get(), "SELECT Abbr FROM AbbrTB WHERE AbbrID = 1 AND AbbrKey = ?1",
                          QStringLiteral("CPU")) == QLatin1String("CPU") &&
           HasCurrentIndexes(db.get());
}

bool EnsureGenerated(const QString& path, int count) {
    if (IsComplete(path, count))
        return true;
    std::fprintf(stderr, "Generating %s (only the first time)...\n", qUtf8Printable(path));
    QDir().mkpath(QFileInfo(path).absolutePath());
    QElapsedTimer timer;
    timer.start();
    QString error;
    const bool ok = Generate(path, count, &error, [](int done, int total) {
        std::fprintf(stderr, "\r%d / %d entries", done, total);
        if (done == total)
            std::fprintf(stderr, ", building the indexes\n");
    });
    if (!ok) {
        std::fprintf(stderr, "cannot generate the dictionary: %s\n", qUtf8Printable(error));
        return false;
    }
    std::fprintf(stderr, "Generated in %.1f s\n", double(timer.elapsed()) / 1000.0);
    return true;
}

QString ProgramDirFor(const QString& path, const QString& dataDir, const QString& name) {
    const QString dir = dataDir + QLatin1Char('/') + name;
    QDir().mkpath(dir);
    const QString link = dir + QStringLiteral("/ABBR.MDB");
    if (!QFile::exists(link))
        QFile::link(path, link);
    return dir;
}

QString DataDir() {
    return QStringLiteral(TESSARINE_BENCH_DATA_DIR);
}

QString LargeDictionaryPath() {
    return DataDir() + QStringLiteral("/bench-1m.mdb");
}

bool EnsureLargeDictionary() {
    static const bool ready = EnsureGenerated(LargeDictionaryPath(), kDefaultCount);
    return ready;
}

} // namespace BenchDictionary
