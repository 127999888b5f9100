// Holds the write lock of the database given as the first argument, as another program's long
// import would: prints "locked" once it holds it, then keeps it for the milliseconds given as
// the second argument or, without one, until a line (or the end) arrives on standard input;
// with "--and-input" after the milliseconds, for both. Prints "released" after letting go.
#include "data/SqliteDatabase.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    tz4::SqliteDatabase db(QString::fromLocal8Bit(argv[1]));
    tz4::SqliteTransaction transaction(db);
    std::printf("locked\n");
    std::fflush(stdout);
    if (argc > 2)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(argv[2])));
    if (argc <= 2 || (argc > 3 && std::string(argv[3]) == "--and-input")) {
        std::string line;
        std::getline(std::cin, line);
    }
    transaction.commit();
    std::printf("released\n");
    std::fflush(stdout);
    return 0;
}
