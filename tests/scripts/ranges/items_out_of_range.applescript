log items 2 thru 5 of {1, 2, 3}
-- expect runtime error: -1728 line 1: Can't get items 2 thru 5 of {1, 2, 3}.
