log refreshPicture()
-- expect runtime error: -1708 line 1: «script» doesn't understand the "refreshPicture" message.
