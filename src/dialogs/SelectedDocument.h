#pragma once

namespace dorvanel {

class ReportListView;

// Opens the list's selected document (sub-item 6 its Sys_PK, sub-item 2 its type code) with
// OpenDocument, or with saveAs offers it on the download page, then shows LastErrDescrip in a
// style-64 message box when LastErr is not 0. With no item selected nothing happens, and a
// failure to reach gManager is skipped.
void OpenSelectedDocument(const ReportListView& list, bool saveAs);

// Shows LastErrDescrip of gManager in a style-64 message box when LastErr is not 0. LastErr is
// read as it stands: a failure recorded earlier shows again until the host resets it.
void ReportRecordedFailure();

}  // namespace dorvanel
