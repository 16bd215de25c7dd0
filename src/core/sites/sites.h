#pragma once

#include <QString>
#include <QVariant>

#include <vector>

// One row of bt, xd or mr.
struct SearchSite
{
    qint64 rowId = -1;
    QString nub;
    QString btset;
    bool btsetIsNull = false;
    QString urldata;
    QVariant utf8; // null when the row holds no value
};

// The rows of a site table in display order: numbers by their value, then any other text, equal orders in
// stored order. False (and the reason) when the table cannot be read.
bool readSites(const QString &table, std::vector<SearchSite> &sites, QString *error = nullptr);

// Orders rows as readSites does.
void sortByDisplayOrder(std::vector<SearchSite> &sites);
