#include "mainwindow/form1.h"

// Loading an entry from the list, and the buttons that add, save and delete entries and step the episode.

void Form1::List1_Click() {}
void Form1::Command1_Click() {}
void Form1::Command5_Click() {}
void Form1::Command2_Click() {}
void Form1::Command3_Click() {}
void Form1::Command6_Click() {}
void Form1::Command7_Click() {}
