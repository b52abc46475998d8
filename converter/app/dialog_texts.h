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

}  // namespace zeku
