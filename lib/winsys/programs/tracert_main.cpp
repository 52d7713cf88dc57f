// tracert: the Windows tracert, on ICMP datagram sockets or iputils' ping.
#include "pingexec.h"

int main(int argc, char** argv)
{
    return winping::RunTracert(std::vector<std::string>(argv + 1, argv + argc));
}
