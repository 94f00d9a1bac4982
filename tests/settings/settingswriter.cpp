// Helper of the robustness test: saves the rate over and over, as a program
// that is killed or that runs twice would.
// settingswriter <value prefix> <count, 0 = until killed>
#include "settings/ratesetting.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QString prefix = QString::fromLocal8Bit(argv[1]);
    const long count = std::atol(argv[2]);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (long i = 0; count == 0 || i < count; ++i) {
        const QString value = count == 0 ? prefix + QString::number(i) : prefix;
        if (!RateSetting::save(value))
            return 1;
    }
    return 0;
}
