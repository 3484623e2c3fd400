#include "tools/EdrdgNotice.h"

namespace EdrdgNotice {

QString HyperText() {
    // The English paragraph is the acknowledgement the Group's licence statement suggests.
    return QStringLiteral(
        "\\B日本語の訳語と読みの出典\\b\r\n"
        "この辞書の日本語の訳語と読み、および全角の略語見出しから作った項目は、"
        "電子辞書研究開発グループ（EDRDG）の辞書ファイル EDICT と COMPDIC によるものです。"
        "これらのファイルは同グループの所有物であり、同グループのライセンスに従って"
        "使用しています。\r\n"
        "ライセンス：クリエイティブ・コモンズ 表示-継承 4.0 国際（CC BY-SA 4.0）。"
        "EDICT と COMPDIC に由来する部分は、出典を示し同じライセンスのもとで複製・改変・"
        "再配布できます。ファイルは内容の正確さや特定の用途への適合性について"
        "何の保証もなく提供されています。\r\n"
        "\\F"
        "This dictionary uses the EDICT and COMPDIC dictionary files. These files are the "
        "property of the Electronic Dictionary Research and Development Group, and are used in "
        "conformance with the Group's licence.\r\n"
        "Licence: Creative Commons Attribution-ShareAlike 4.0 International (CC BY-SA 4.0). The "
        "files are made available without any warranty whatsoever as to their accuracy or "
        "suitability for a particular application.\r\n"
        "\\F"
        "EDRDG licence statement: https://www.edrdg.org/edrdg/licence.html\r\n"
        "EDICT: https://www.edrdg.org/jmdict/edict.html\r\n"
        "CC BY-SA 4.0: https://creativecommons.org/licenses/by-sa/4.0/");
}

} // namespace EdrdgNotice
