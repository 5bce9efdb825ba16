// A stand-in for a compiler whose runtime reads the UTF-16 command line (`wmain`): writes down what
// it was started with, as both command-line parsers read it, then lingers and ends as asked.
#include "standin_record.h"

int wmain(int argc, wchar_t** argv)
{
    RecordFields crt;
    for (int i = 0; i < argc; ++i) {
        crt.emplace_back("crt", argv[i]);
    }
    recordStart(crt);
    return endAsAsked();
}
