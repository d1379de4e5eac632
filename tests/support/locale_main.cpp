// The main of every GoogleTest program: the process takes the locale that the environment names,
// as the program and the command line do, so that the suite's second run in a Russian locale
// tries the core where the users are.

#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
