// ping: the Windows ping, on ICMP datagram sockets or iputils' ping.
#include "pingexec.h"

int main(int argc, char** argv)
{
    return winping::RunPing(std::vector<std::string>(argv + 1, argv + argc));
}
