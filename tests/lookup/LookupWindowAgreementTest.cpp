// tessarine-lookup --list and the main window's result list, given the same inputs on the same
// dictionary, list the same lines in the same order.
#include "LookupRun.h"

#include "window/MainWindowFixture.h"

namespace {

struct Inputs {
    const char* key;
    const char* letter;
    const char* category; // the category's name as the window lists it; empty for all
};

class LookupWindowAgreementTest : public MainWindowTest {
protected:
    QStringList WindowLines(const Inputs& in) {
        C().txtSearchKey->setText(QString::fromUtf8(in.key));
        C().txtLetter->setText(QString::fromUtf8(in.letter));
        const int index =
            *in.category ? C().cmbCategory->findText(QString::fromUtf8(in.category)) : 0;
        EXPECT_GE(index, 0) << in.category;
        C().cmbCategory->setCurrentIndex(index);
        C().mnuFileFind->trigger();
        QApplication::processEvents();
        QStringList lines;
        for (int row = 0; row < C().lstDbList->count(); ++row)
            lines << C().lstDbList->item(row)->text();
        return lines;
    }
    QStringList LookupLines(const Inputs& in, QString* count) const {
        QStringList arguments{QStringLiteral("-d"), BundledDir() + QStringLiteral("/ABBR.MDB"),
                              QStringLiteral("--list")};
        if (*in.category)
            arguments << QStringLiteral("-c") << QString::fromUtf8(in.category);
        arguments << QString::fromUtf8(in.key) << QString::fromUtf8(in.letter);
        const LookupResult result = runner_.Run(arguments);
        *count = result.Err().section(u'\n', 0, 0); // a hint may follow
        QStringList lines = result.Out().split(u'\n');
        EXPECT_EQ(lines.takeLast(), QString()) << "every line ends";
        return lines;
    }

    LookupRunner runner_;
};

TEST_F(LookupWindowAgreementTest, ExactPrefixPatternAndSpelledOutSearchesWithCategories) {
    ASSERT_TRUE(Start());
    const Inputs cases[] = {
        {"cpu", "", ""},
        {" tcp/ip ", "", ""},
        {"cd-rom", "", ""},
        {"C*", "", ""},
        {"?PU", "", ""},
        {"*NET*", "", ""},
        {"*", "", ""},
        {"", "central*", ""},
        {"", "*protocol*", "ネットワーク"},
        {"*", "", "ハードウェア"},
        {"t*", "*a*", "インターネット"},
        {"", "", "データ形式"},
        {"[", "", ""},
        {"nothing", "", ""},
    };
    int nonEmpty = 0;
    for (const Inputs& in : cases) {
        const QString what = QStringLiteral("%1 | %2 | %3")
                                 .arg(QString::fromUtf8(in.key), QString::fromUtf8(in.letter),
                                      QString::fromUtf8(in.category));
        const QStringList window = WindowLines(in);
        QString count;
        const QStringList lookup = LookupLines(in, &count);
        EXPECT_EQ(lookup, window) << what.toStdString();
        EXPECT_EQ(count, QStringLiteral("%1件").arg(window.size())) << what.toStdString();
        nonEmpty += window.isEmpty() ? 0 : 1;
    }
    EXPECT_GE(nonEmpty, 11) << "the cases search something";
}

} // namespace
