#include "mainwindow/form1.h"

// The site choice and the search button of the main window.

void Form1::Combo2_Click() {}

void Form1::Command4_Click() {}

void Form1::openNextSearch() {}
