#include "entry.h"

int main(int argc, char** argv)
{
    return NetConfigMain(argc, argv);
}
