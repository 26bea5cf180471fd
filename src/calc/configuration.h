// Program settings that hold for every spring while the program runs. Each field is named
// after its key in "kora.cfg"; reading and writing the file lives in persistence/.
#pragma once

#include <string>

namespace kora {

struct Configuration {
    int Dezimalstellen = 3;      // "Dezimalstellen": decimals adjustment of the fixed formats
    int decimalSeparator = 1;    // "Dot=1 Komma=2"
    bool plainCharacters = false;  // "2 u  deg" instead of "²  µ  °"
    int dateCode = 1;            // "Date Code"
    int unitSystem = 0;          // "Metric Units=0,  English units=1"
    int helpLevel = 1;           // preselection in the message list
    std::string helpFolder;      // folder of the help files ("kora.err" …)
    std::string tempFolder;      // folder for temporary files
    std::string tableFolder;     // folder of the dBase tables
};

}  // namespace kora
