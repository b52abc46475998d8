// The transitions scene: band and column wipes through #Wipe, then a
// diagonal fade, a ripple and an explosion through #Effect, and the
// background faded out before the story begins.
#include "tools/demogame/effects_scene.h"

#include "tools/demogame/story.h"

namespace zeku::demo {
namespace {

// Object 5 shows image 5 while its effects run; the explosion retires it.
// The explosion's centre packs column 8 and row 6 of its 16 × 12 tiles as
// 8 × 65536 + 6 (the expression language has no arithmetic).
const char kEffectsScript[] =
    R"SCRIPT(//　場面転換の見本：トランジション効果をいくつか続けて見せる。

|_Effects:
#LoadImage(3,"./bg/yuuhi.png")
#Wipe(3,1,0,6)
#Wait(300)
#LoadImage(3,"./bg/heya.bmp")
#Wipe(3,-1,0,5)
#Wait(300)
#LoadImage(5,"./bg/sora.png")
#Effect(5,20,1200,40,1,8)
#Effect(5,48,1000,12,4,2)
#Wait(200)
#Effect(5,240,1500,50,524294,0)
#Effect(0,129,700,0,0,0)
#Return()
#END()
)SCRIPT";

}  // namespace

std::string effectsSceneScript() {
    return toGameText(kEffectsScript);
}

}  // namespace zeku::demo
