#include "storage/requests.h"

int GlobalRequest = NoRequest;
int GlobalResponse = NoResponse;
int AlbumContext = NoAlbumContext;

namespace GLO {
files::Byte Side;
}  // namespace GLO

files::Long ThreadInstance;
files::String<20> LastButton;
