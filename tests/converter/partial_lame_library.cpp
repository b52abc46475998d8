// A shared library that has LAME's first entry point and none of the
// others, as a LAME too old for the converter would: the converter must
// tell it from a library that is no LAME at all.
extern "C" void* lame_init() {
    return nullptr;
}
