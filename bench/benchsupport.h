#pragma once

#include <QString>

#include <string>
#include <vector>

// A figure and the floor it is judged against (plus a second floor added to the first, when given).
struct Ratio
{
    std::string measured;
    std::string floor;
    double target;
    std::string addedFloor;
};

// Every benchmark file registers the ratios it is judged by.
std::vector<Ratio> &ratios();
bool registerRatio(Ratio ratio);

// A program folder holding an ad.mdb with this many realistic entries, made once per size.
QString benchFolderWithEntries(int count);
// Points the program at that folder.
void useBenchFolder(int count);
