#include "ui/app/commandtable.h"

namespace kelt {

namespace {

const MenuEntry kMenus[] = {
    {"mnuFile", "ﾌｧｲﾙ(&F)"}, {"mnuEdit", "編集(&E)"},     {"mnuTools", "ﾂｰﾙ(&T)"},
    {"kansuu", "関数"},      {"mnuWindow", "ｳｨﾝﾄﾞｳ(&W)"}, {"mnuHelp", "ﾍﾙﾌﾟ(&H)"},
};

const CommandEntry kCommands[] = {
    {"mnuFile", "mnuFileNew", "新規作成(&N)", "Ctrl+N", 1, "新規", "新規作成", "新規作成",
     "file-new", Command::FileNew},
    {"mnuFile", "mnuFileOpen", "開く(&O)...", "Ctrl+O", 2, "開く", "開く", "開く", "file-open",
     Command::FileOpen},
    {"mnuFile", "mnuFileBar0", "-", "", 0, "", "", "", "", Command::None},
    {"mnuFile", "mnuFileSave", "上書き保存(&S)", "Ctrl+S", 3, "保存", "上書き保存", "上書き保存",
     "file-save", Command::FileSave},
    {"mnuFile", "mnuFileSaveAs", "名前を付けて保存(&A)...", "", 0, "", "", "", "",
     Command::FileSaveAs},
    {"mnuFile", "mnuFilePrint", "印刷(&P)...", "Ctrl+P", 4, "印刷", "印刷", "印刷", "file-print",
     Command::FilePrint},
    {"mnuFile", "mnuFileExit", "終了(&X)", "", 0, "", "", "", "", Command::FileExit},
    {"mnuEdit", "mnuEditCut", "切り取り(&T)", "Ctrl+X", 5, "切取", "切り取り", "切り取り",
     "edit-cut", Command::EditCut},
    {"mnuEdit", "mnuEditCopy", "ｺﾋﾟｰ(&C)", "Ctrl+C", 6, "ｺﾋﾟｰ", "ｺﾋﾟｰ", "ｺﾋﾟｰ", "edit-copy",
     Command::EditCopy},
    {"mnuEdit", "mnuEditPaste", "貼り付け(&P)", "Ctrl+V", 7, "貼付", "貼り付け", "貼り付け",
     "edit-paste", Command::EditPaste},
    {"mnuEdit", "mnuFileBar1", "-", "", 0, "", "", "", "", Command::None},
    {"mnuEdit", "undo", "元に戻す", "", 0, "", "", "", "", Command::Undo},
    {"mnuTools", "mnuToolsretu", "列挿入", "", 19, "列挿", "列挿", "列項目を挿入します",
     "insert-column", Command::InsertColumn},
    {"mnuTools", "mnuToolsgyou", "行挿入", "", 18, "行挿", "行挿", "行を挿入します", "insert-row",
     Command::InsertRow},
    {"mnuTools", "buf2", "-", "", 0, "", "", "", "", Command::None},
    {"mnuTools", "retu_out", "列削除", "", 20, "列削", "列削", "列を削除します", "delete-column",
     Command::DeleteColumn},
    {"mnuTools", "mnubar4", "-", "", 0, "", "", "", "", Command::None},
    {"mnuTools", "retu_moto", "列幅を元に戻す", "", 0, "", "", "", "",
     Command::RestoreColumnWidths},
    {"mnuTools", "gyou_moto", "行の高さを元に戻す", "", 0, "", "", "", "",
     Command::RestoreRowHeights},
    {"mnuTools", "buf", "-", "", 0, "", "", "", "", Command::None},
    {"mnuTools", "retukoumoku", "列項目変更", "", 16, "列項", "列項", "項目を設定します",
     "item-names", Command::ItemNames},
    {"mnuTools", "seitoran", "氏名欄ロック", "", 17, "氏名", "氏名", "生徒氏名の入力ができます",
     "name-lock", Command::ToggleNameLock},
    {"kansuu", "yokogoukei", "横合計", "", 8, "合計", "ｵｰﾄ SUM", "選択した項目の合計", "sum",
     Command::HorizontalTotal},
    {"kansuu", "juni", "順位", "", 9, "順位", "順位", "選択した項目で順位をつけます", "rank",
     Command::Rank},
    {"kansuu", "shisoku", "四則演算", "", 10, "四則", "四則", "項目に対して四則演算します",
     "arithmetic", Command::Arithmetic},
    {"kansuu", "tatekei", "縦合計平均", "", 11, "縦計", "縦計",
     "クラス・学年の合計・平均を求めます", "vertical-total", Command::VerticalTotalAverage},
    {"kansuu", "yokoheikin", "横平均", "", 12, "横平", "横平", "選択した項目の平均を求めます",
     "average", Command::HorizontalAverage},
    {"kansuu", "hyoutei", "評定・段階頻度", "", 13, "評定", "評定",
     "選択した項目の評定値を求めます", "grades", Command::Grades},
    {"kansuu", "kanten", "観点別評価...", "", 0, "", "", "観点ごとの A・B・C と評定を求めます", "",
     Command::Viewpoints},
    {"kansuu", "marume", "四捨五入", "", 14, "丸め", "丸め", "四捨五入します", "rounding",
     Command::Rounding},
    {"kansuu", "heusa", "偏差値", "", 15, "偏差", "偏差", "選択した数値の偏差値を求めます",
     "deviation", Command::DeviationScore},
    // Beyond the classic table: the year's marks at a glance, no toolbar button.
    {"kansuu", "bunpu", "成績の分布...", "", 0, "", "", "", "", Command::Distribution},
    {"mnuWindow", "mnuWindowCascade", "重ねて表示(&C)", "", 0, "", "", "", "",
     Command::WindowCascade},
    {"mnuWindow", "mnuWindowTileHorizontal", "上下に並べて表示(&H)", "", 0, "", "", "", "",
     Command::WindowTileHorizontal},
    {"mnuWindow", "mnuWindowTileVertical", "左右に並べて表示(&V)", "", 0, "", "", "", "",
     Command::WindowTileVertical},
    {"mnuHelp", "mnuHelpContents", "目次(&C)", "", 0, "", "", "", "", Command::HelpContents},
    {"mnuHelp", "mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)", "", 0, "", "", "", "", Command::HelpAbout},
};

// Groups: file, print, clipboard, rank and its neighbours, the rest.
const int kSeparatorsAfter[] = {3, 4, 7, 9, 9, 17};

}  // namespace

std::span<const MenuEntry> Menus() { return kMenus; }
std::span<const CommandEntry> Commands() { return kCommands; }
std::span<const int> ToolbarSeparatorsAfter() { return kSeparatorsAfter; }

const CommandEntry* FindToolbarKey(const QString& key) {
  // The keys as the handler has always compared them; the first that matches wins.
  static const char* const kKeyOrder[] = {
      "新規作成", "開く", "上書き保存", "印刷", "切り取り", "ｺﾋﾟｰ", "貼り付け",
      "ｵｰﾄ SUM",  "順位", "縦計",       "横平", "評定",     "偏差", "列項",
      "丸め",     "四則", "氏名",       "行挿", "列挿",     "列削",
  };
  for (const char* candidate : kKeyOrder) {
    if (key != QString::fromUtf8(candidate)) continue;
    for (const CommandEntry& entry : kCommands) {
      if (entry.toolbarPosition > 0 && qstrcmp(entry.toolbarKey, candidate) == 0) return &entry;
    }
  }
  return nullptr;
}

}  // namespace kelt
