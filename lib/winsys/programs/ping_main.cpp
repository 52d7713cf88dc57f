// ping: the Windows ping command line, carried out by this machine's ping.
#include "pingargs.h"

int main(int argc, char** argv)
{
    return winping::RunTranslated(argc, argv, winping::TranslatePing, winping::kPingUsage,
                                  {"/usr/bin/ping", "/bin/ping"});
}
