#include "storage/requests.h"

int GlobalRequest = 0;
int GlobalResponse = 0;
int AlbumContext = 0;

namespace GLO {
files::Byte Side;
}  // namespace GLO

files::Long ThreadInstance;
files::String<20> LastButton;
