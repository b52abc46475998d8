// The converter's own texts, in Shift-JIS as the dialog shows them; front
// ends convert them to UTF-8 where they meet the host.
#pragma once

namespace zeku {

// The encoder-missing message names the library in use:
// "<< " + name + " " + kEncoderMissingTail.
inline constexpr char kEncoderMissingTail[] =
    ">>"
    "\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81"
    "\x42";  // >>が見つかりませんでした。
inline constexpr char kEncoderMissingCaption[] =
    "\x82\x63\x82k\x82k\x88\xD9\x8F\xED";  // ＤＬＬ異常
inline constexpr char kFolderMessage[] =
    "\x81wKumoine\x81x\x82\xCC\x83t\x83H\x83\x8B\x83_"
    "\x82\xF0\x8Ew\x92\xE8\x82\xB5\x82\xC4\x89\xBA\x82\xB3\x82\xA2\x81\x42";  // 『Kumoine』のフォルダを指定して下さい。
inline constexpr char kFolderCaption[] = "\x83t\x83H\x83\x8B\x83_\x88\xD9\x8F\xED";  // フォルダ異常
inline constexpr char kProgressFormat[] =
    "\x95\xCF\x8A\xB7\x83\x66\x81[\x83^\x90\x94\x81\x46%d / %d (%s)";  // 変換データ数：%d / %d (%s)
inline constexpr char kDialogTitle[] = "Torune[ver.3.21]";             // Torune[ver.3.21]
inline constexpr char kAboutText[] = "convZeku Version 3.00";          // convZeku Version 3.00
// The encoder line: name + " : " + the encoder's version text.
inline constexpr char kEncoderLineSeparator[] = " : ";

// The window's controls, in their order in the dialog. "&" marks the
// access key.
inline constexpr char kBrowseLabel[] = "\x8EQ\x8F\xC6(&F)";  // 参照(&F)
inline constexpr char kFolderChooserTitle[] =
    "\x83t\x83H\x83\x8B\x83_\x82\xF0\x91I\x91\xF0\x82\xB5\x82\xC4\x89\xBA\x82\xB3\x82\xA2\x81"
    "\x42";  // フォルダを選択して下さい。
inline constexpr char kSoundGroupLabel[] =
    "\x8C\xF8\x89\xCA\x89\xB9\x90\xDD\x92\xE8";  // 効果音設定
inline constexpr char kBitrateLabel[] = "BIT";
inline constexpr char kRateLabel[] = "RATE";
inline constexpr char kStereoLabel[] = "\xBD\xC3\xDA\xB5";                   // ｽﾃﾚｵ
inline constexpr char kResolutionLabel[] = "\x89\xF0\x91\x9C\x93x";          // 解像度
inline constexpr char kQualityLabel[] = "\x89\xE6\x8E\xBF\x90\xDD\x92\xE8";  // 画質設定
inline constexpr const char* kQualityItems[] = {
    "\x8D\xC5\x8D\x82\x89\xE6\x8E\xBF",  // 最高画質
    "\x8D\x82\x89\xE6\x8E\xBF(100)",     // 高画質(100)
    "\x95W\x8F\x80(90)",                 // 標準(90)
    "\x92\xE1\x89\xE6\x8E\xBF(80)",      // 低画質(80)
};
inline constexpr char kStartLabel[] = "\x8AJ\x8En(&S)";  // 開始(&S)
inline constexpr char kAboutMenuItem[] =
    "convZeku \x82\xCC\xCA\xDE\xB0\xBC\xDE\xAE\xDD\x8F\xEE\x95\xF1(&A)...";  // convZeku
                                                                             // のﾊﾞｰｼﾞｮﾝ情報(&A)...
inline constexpr char kAboutTitle[] =
    "convZeku\x82\xCC\xCA\xDE\xB0\xBC\xDE\xAE\xDD\x8F\xEE\x95\xF1";  // convZekuのﾊﾞｰｼﾞｮﾝ情報

}  // namespace zeku
