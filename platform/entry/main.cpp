#include "platform/entry/process_entry.h"

int main(int argc, char** argv) {
    return ostrel::RunProcess(argc, argv);
}
