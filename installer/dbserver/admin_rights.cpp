#include "installer/dbserver/admin_rights.h"

#include "installer/dbserver/server_names.h"

namespace ostravel::dbserver {

bool HasAdminRights(platform::Registry& registry) {
  // The InterBase probe never creates its key; its outcome says nothing that the
  // instances key does not, but the probe is part of the established sequence.
  registry.CanOpenForWrite(platform::RootKey::LocalMachine, kInterBaseKey);
  return registry.CreateKey(platform::RootKey::LocalMachine, kInstancesKey);
}

}  // namespace ostravel::dbserver
