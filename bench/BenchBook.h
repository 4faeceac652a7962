#pragma once

#include "../tests/common/TestContext.h"
#include "app/FormMain.h"
#include "app/MainListPanel.h"
#include "records/EditPanel.h"
#include "store/PostgresEngine.h"

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

// The same customers in a database of the test server (PELLOR3_TEST_SERVER), with the list and
// the editor over them, made once; the main window itself opens the local book.
struct ServerBook {
    TestEnv env{SqlTarget::Postgres};
    TestContext context{env};
    std::unique_ptr<MainListPanel> list;
    std::unique_ptr<EditPanel> editor;

    ServerBook();
    PGconn *Connection();
};

// Null when there is no test server.
ServerBook *TheServerBook();

// What a server figure returns without a test server; printed as not measured.
double NotMeasured();

// A statement prepared once on the server through libpq alone, for the bare figures beside the
// store's: nothing of the store, the translator or the engine runs.
class BareStatement {
public:
    BareStatement(PGconn *conn, const QByteArray &statement, int parameters = 0);
    ~BareStatement();
    BareStatement(const BareStatement &) = delete;
    BareStatement &operator=(const BareStatement &) = delete;
    // Runs it with `values` (a null one for NULL) and reads every field of every row; returns
    // the bytes read.
    qsizetype Run(const QList<QByteArray> &values = {});

private:
    PGconn *conn_;
    QByteArray name_;
};

// Runs a control statement (BEGIN, COMMIT) through libpq alone.
void BareControl(PGconn *conn, const char *statement);

// Marks for printing only the customers whose UserId is a multiple of `step`; 2 marks them as
// the book was made.
void MarkEvery(Book &book, int step);
