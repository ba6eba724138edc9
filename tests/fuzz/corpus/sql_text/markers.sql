select * from T where A = :A and B = :A and C = ? -- :C
insert into T values (:ID, 'Tea :ID at 10:30')