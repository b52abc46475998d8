// The story of Hiyo, a chick blown down from a town on the clouds. The hero
// helps it home; a choice between searching the room for a map and waiting
// on the hill changes one line of the ending. Written here in UTF-8 and
// turned into the game's Shift-JIS.
#include "tools/demogame/story.h"

#include "platform/api/text_codec.h"

namespace zeku::demo {
namespace {

// Every scene is put together in image slot 3 (background, character, window
// frame) and faded in over the old background.
const char kMainScript[] = R"SCRIPT(//　くもまちのひよ　メインスクリプト
//　場面は画像3で組み立ててからフェードで表示する。

|_Start:
#CreateImage(0,0,800,600)
#CreateTextf(2,0)
#Locatef(0,44,394)
#Locatef(1,44,442)
#SetDefaultColor(0,RGB(255,255,255))
#SetDefaultColor(1,RGB(255,255,255))
#LoadTextf("./mes/mes01.txt")
@10=0
#FillClr(3,0)
#Paint()
#Wait(400)
#OpenPlayMCICdda(2,2,1)
#ResumeSave()
#Gosub("_Effects","./scr/effects.txt")

//　丘の朝
#LoadImage(3,"./bg/sora.png")
#TransFade(0,0,0,0,0,0,800,600,3)
#Wait(300)
#LoadImage(3,"./bg/sora.png")
#Gosub("_Window","./scr/sub.txt")
#TransFade(0,0,0,0,0,0,800,600,3)
#PrintTextf(1)
#PrintTextf(2)
#Wipe(6,0,4,7)
#PrintTextf(3)
#PlayWave("./se/pop.wav")
#LoadImage(2,"./st/hiyo03.png")
#LoadImage(3,"./bg/sora.png")
#AlphaBlt(3,250,40,2)
#Gosub("_Window","./scr/sub.txt")
#TransFade(0,0,0,0,0,0,800,600,3)
#PrintTextf(4)
#LoadImage(2,"./st/hiyo01.png")
#LoadImage(3,"./bg/sora.png")
#AlphaBlt(3,250,40,2)
#Gosub("_Window","./scr/sub.txt")
#TransFade(0,0,0,0,0,0,800,600,3)
#PrintTextf(5)
#LoadImage(2,"./st/hiyo02.png")
#LoadImage(3,"./bg/sora.png")
#AlphaBlt(3,250,40,2)
#Gosub("_Window","./scr/sub.txt")
#TransFade(0,0,0,0,0,0,800,600,3)
#PrintTextf(6)
#PrintTextf(7)
#SelectEx()
{
#Select(0,20,"_Heya","./scr/branch.txt")
#Select(0,21,"_Oka","./scr/branch.txt")
#Select(0,22,"_Mura","./scr/branch.txt")
}

//　夜の丘（二つの道はここで合流する）
|_Night:
#LoadTextf("./mes/mes02.txt")
#PlayWave("./se/ソヨ風.wav")
#LoadImage(3,"./bg/夜空.bmp")
#Wipe(3,1,0,5)
#Wait(300)
#LoadImage(3,"./bg/夜空.bmp")
#Gosub("_Window","./scr/sub.txt")
#TransFade(0,0,0,0,0,0,800,600,3)
#PrintTextf(1)
#PrintTextf(2)
#LoadImage(2,"./st/hiyo02.png")
#LoadImage(3,"./bg/夜空.bmp")
#AlphaBlt(3,250,40,2)
#Gosub("_Window","./scr/sub.txt")
#TransFade(0,0,0,0,0,0,800,600,3)
#IF(@10==1)
{
#PrintTextf(3)
}
#IF(@10==2)
{
#PrintTextf(4)
}
#IF(@10==3)
{
#PrintTextf(9)
}
#Gosub("_Chime","./scr/sub.txt")
#PrintTextf(5)
#LoadImage(2,"./st/hiyo04.png")
#LoadImage(3,"./bg/夜空.bmp")
#AlphaBlt(3,250,40,2)
#Gosub("_Window","./scr/sub.txt")
#TransFade(0,0,0,0,0,0,800,600,3)
#PrintTextf(6)
#LoadImage(3,"./bg/夜空.bmp")
#Gosub("_Window","./scr/sub.txt")
#TransFade(0,0,0,0,0,0,800,600,3)
#PrintTextf(7)
#PrintTextf(8)

//　おしまいのメニュー：左の月でおわり、右の矢印でもう一度
|_Menu:
#OpenPlayMCICdda(3,3,0)
#LoadImage(3,"./bg/夜空.bmp")
#LoadImage(5,"./sys/button01.png")
#LoadImage(6,"./sys/button02.png")
#AlphaBlt(3,200,260,5)
#AlphaBlt(3,440,260,6)
#TransFade(0,0,0,0,0,0,800,600,3)
#MouseClickEventEX()
{
200,260,360,340,"_End","./script.txt",0,0,0,RGB(64,64,64)
440,260,600,340,"_Again","./script.txt",0,0,0,RGB(64,64,64)
}

|_Again:
#PlayWave("./se/click.wav")
#GOTO("_Start")

|_End:
#PlayWave("./se/click.wav")
#Wait(500)
#BreakApp()
#END()
)SCRIPT";

const char kBranchScript[] = R"SCRIPT(//　分かれ道：どちらを選んでも夜の丘で合流する。

|_Heya:
@10=1
#LoadImage(2,"./st/hiyo01.png")
#LoadImage(3,"./bg/heya.bmp")
#AlphaBlt(3,420,50,2)
#Gosub("_Window","./scr/sub.txt")
#TransFade(0,0,0,0,0,0,800,600,3)
#PrintTextf(30)
#PrintTextf(31)
#LoadImage(2,"./st/hiyo02.png")
#LoadImage(3,"./bg/heya.bmp")
#AlphaBlt(3,420,50,2)
#Gosub("_Window","./scr/sub.txt")
#TransFade(0,0,0,0,0,0,800,600,3)
#PrintTextf(32)
#GOTO("_Night","./script.txt")

|_Oka:
@10=2
#LoadImage(2,"./st/hiyo01.png")
#LoadImage(3,"./bg/yuuhi.png")
#AlphaBlt(3,250,40,2)
#Gosub("_Window","./scr/sub.txt")
#TransFade(0,0,0,0,0,0,800,600,3)
#PrintTextf(35)
#PrintTextf(36)
#PrintTextf(37)
#GOTO("_Night","./script.txt")

|_Mura:
@10=3
#LoadImage(2,"./st/hiyo03.png")
#LoadImage(3,"./bg/yuuhi.png")
#AlphaBlt(3,250,40,2)
#Gosub("_Window","./scr/sub.txt")
#TransFade(0,0,0,0,0,0,800,600,3)
#PrintTextf(40)
#PrintTextf(41)
#GOTO("_Night","./script.txt")
#END()
)SCRIPT";

const char kSubScript[] = R"SCRIPT(//　共通のサブルーチン

//　画像3にメッセージ窓を重ねる。
|_Window:
#LoadImage(4,"./sys/window.png")
#TransFill(3,39,387,211,40,0)
#TransFill(3,39,431,722,136,0)
#AlphaBlt(3,24,376,4)
#Return()

//　メッセージの途中から呼ばれる鈴の音。
|_Bell:
#PlayWave("./se/suzu.wav")
#Return()

|_Chime:
#PlayWave("./se/chime.wav")
#Wait(800)
#Return()
#END()
)SCRIPT";

// Message files: number, speaker, text. "\m" waits for a click, "@m" and
// "@k" insert the hero's given name and honorific, "\c(r,g,b)" colours the
// text after it and "\c()" takes the colour back. Message 4 puts a "。"
// exactly where the small screen's first line ends: it stays on that line.
const char kFirstMessages[] =
    R"TEXT(1,"","よく晴れた朝。丘の上には、どこまでも青い空が広がっていた。\m"
2,"","@l@mは、お気に入りの草の上にねころんで、流れる雲をながめていた。\m"
3,"？？？","ぴよーっ！　そこのきみ、たすけてーっ！\m"
4,"","見上げると、小さな黄色いひよこが、空をまってる。ふわふわの雲といっしょに、ゆっくりおりてくる。\m"
5,"ひよ","ふう、びっくりした……。ぼく、ひよ。\c(255,214,64)雲の上の町\c()に住んでるんだ。\m"
6,"ひよ","風にふかれて、落ちてきちゃった。@m@k、帰り道をいっしょにさがしてくれる？\m"
7,"","さて、どこで手がかりをさがそう？\m"
20,"","部屋で古い地図をさがす"
21,"","丘で夜になるのを待つ"
22,"","ふもとの村で話を聞く"
30,"","@mの部屋。本だなのすみに、おじいちゃんの古い空の地図がしまってある。\m"
31,"ひよ","わあ！　この地図、雲の町がちゃんとのってる！\m"
32,"ひよ","北の星が光る夜に、雲のはしごがおりてくるんだって。丘へ行こう！\m"
35,"","二人は丘にすわって、日がしずむのを待つことにした。\m"
36,"ひよ","夕やけの雲って、町から見るとオレンジのわたあめみたいなんだよ。\m"
37,"ひよ","夜になったら、きっとだれかがむかえに来てくれるはず。\m"
40,"","二人は丘をおりて、ふもとの村で雲の町のことを聞いてまわった。\m"
41,"ひよ","パン屋のおばあさんが、\c(255,214,64)北の星\c()の夜には鈴が鳴るって教えてくれたよ！\m"
)TEXT";

// The same file as an earlier build left it: placeholders in two places.
const char kDraftMessages[] = R"TEXT(1,"","（仮）朝の丘。\m"
2,"","@l@mは、お気に入りの草の上にねころんで、流れる雲をながめていた。\m"
3,"？？？","ぴよーっ！　そこのきみ、たすけてーっ！\m"
4,"","見上げると、小さな黄色いひよこが、空をまってる。ふわふわの雲といっしょに、ゆっくりおりてくる。\m"
5,"ひよ","（仮）ひよの自己紹介。\m"
6,"ひよ","風にふかれて、落ちてきちゃった。@m@k、帰り道をいっしょにさがしてくれる？\m"
7,"","さて、どこで手がかりをさがそう？\m"
20,"","部屋で地図をさがす"
21,"","丘で待つ"
22,"","村で聞く"
30,"","@mの部屋。本だなのすみに、おじいちゃんの古い空の地図がしまってある。\m"
31,"ひよ","わあ！　この地図、雲の町がちゃんとのってる！\m"
32,"ひよ","北の星が光る夜に、雲のはしごがおりてくるんだって。丘へ行こう！\m"
35,"","二人は丘にすわって、日がしずむのを待つことにした。\m"
36,"ひよ","夕やけの雲って、町から見るとオレンジのわたあめみたいなんだよ。\m"
37,"ひよ","夜になったら、きっとだれかがむかえに来てくれるはず。\m"
40,"","二人は丘をおりて、ふもとの村で雲の町のことを聞いてまわった。\m"
41,"ひよ","パン屋のおばあさんが、\c(255,214,64)北の星\c()の夜には鈴が鳴るって教えてくれたよ！\m"
)TEXT";

const char kNightMessages[] =
    R"TEXT(1,"","やがて日はしずみ、十も百も、空いっぱいに星がまたたきはじめた。\m"
2,"","そのとき、ちりん、と遠くで鈴の音がした。\#("_Bell","./scr/sub.txt")\m"
3,"ひよ","地図のとおりだ！　北の星の下に、光るはしごが見える！\m"
4,"ひよ","待っててよかった！　ほら、光るはしごがおりてきたよ！\m"
5,"ひよ","ありがとう、@m@k。きみのおかげで、ちゃんと帰れるよ。\m"
6,"ひよ","また雲の上から、手をふるね。……ぜったい、見ててね！\m"
7,"","ひよは光るはしごをのぼり、雲のむこうへ帰っていった。\m"
8,"","夜空には、ひよこの形をした雲が、ひとつだけうかんでいた。\n　　　　　　　～　おしまい　～\m"
9,"ひよ","おばあさんの言ったとおりだ！　鈴の音のほうに、光るはしごが見える！\m"
)TEXT";

}  // namespace

std::string toGameText(const std::string& utf8) {
    std::string withCrLf;
    withCrLf.reserve(utf8.size() + utf8.size() / 16);
    for (char c : utf8) {
        if (c == '\n') withCrLf += '\r';
        withCrLf += c;
    }
    return utf8ToSjis(withCrLf);
}

StoryTexts buildStoryTexts() {
    StoryTexts texts;
    texts.mainScript = toGameText(kMainScript);
    texts.branchScript = toGameText(kBranchScript);
    texts.subScript = toGameText(kSubScript);
    texts.firstMessages = toGameText(kFirstMessages);
    texts.draftMessages = toGameText(kDraftMessages);
    texts.nightMessages = toGameText(kNightMessages);
    return texts;
}

}  // namespace zeku::demo
