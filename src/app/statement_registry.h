#pragma once

#include <QString>

#include <vector>

namespace sdelka {

// A statement the program sends, by its constant's name, with any assembled part filled in
// as the program fills it.
struct RegisteredStatement {
    const char* name;
    QString text;
};

// Every statement constant of every subsystem, so that a test can prepare each one against
// the schema: a wrong column then fails the tests, not a user's click.
std::vector<RegisteredStatement> allStatements();

} // namespace sdelka
