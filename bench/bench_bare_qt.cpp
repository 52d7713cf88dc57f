// The baseline of the start-up and memory benchmarks: the least a Qt
// Widgets program does before it can show anything.
#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return 0;
}
