// tracert: the Windows tracert command line, carried out by this machine's traceroute.
#include "pingargs.h"

int main(int argc, char** argv)
{
    return winping::RunTranslated(argc, argv, winping::TranslateTracert, winping::kTracertUsage,
                                  {"/usr/bin/traceroute", "/usr/sbin/traceroute", "/bin/traceroute",
                                   "/sbin/traceroute"});
}
