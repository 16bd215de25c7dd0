#pragma once

#include <QString>

class QWidget;

// At start-up: when ad.mdb is the earlier Windows program's Jet file, asks once whether to convert it, and does.
// Answering No, or a conversion that fails, leaves the file exactly as it was.
void offerJetConversion(QWidget *parent, const QString &path);
