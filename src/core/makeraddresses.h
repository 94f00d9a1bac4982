#pragma once

#include <QString>

// Every address of the maker that the program shows or opens. A packager who
// ships the program under another name changes the hosts here, and only here.
namespace MakerAddresses {

QString homePage();
QString ratingPage();
QString errorReportPage();
QString shopPage();
QString donationPage();
QString supportMail();
// The home page as the link buttons show it.
QString homePageLabel();
QString supportMailLabel();

} // namespace MakerAddresses
