#pragma once

namespace dorvanel {

class Connection;

// Creates the relations the component works on (Docs, DocLink, the view DocLinks, the
// view qryJoin, their indexes and the time-stamp trigger) unless they exist already.
void CreateSchema(Connection& connection);

}  // namespace dorvanel
