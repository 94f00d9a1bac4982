#pragma once

#include <QTest>

#include <initializer_list>
#include <utility>

// A test table of one column "row", each row a named value: the test fetches
// the whole row with QFETCH(Row, row) and reads its fields by name.
template<typename Row> void table(std::initializer_list<std::pair<const char *, Row>> rows)
{
    QTest::addColumn<Row>("row");
    for (const auto &[name, row] : rows)
        QTest::newRow(name) << row;
}
