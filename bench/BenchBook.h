#pragma once

#include "../tests/common/TestEnv.h"
#include "app/FormMain.h"

#include <QByteArray>
#include <memory>

// A book of 100 000 customers, every second one marked for printing, and the main window over
// it, made once for all figures.
struct Book {
    static constexpr int Size = 100000;

    TestEnv env;
    // Figures that make an installation of their own point the registry elsewhere.
    QByteArray registry;
    std::unique_ptr<TFormMain> window;

    Book();
};

Book &TheBook();

// Marks for printing only the customers whose UserId is a multiple of `step`; 2 marks them as
// the book was made.
void MarkEvery(Book &book, int step);
